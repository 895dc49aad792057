#include "app/clickable_label.h"

#include <QMouseEvent>

namespace tessaly {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit leftPressed();
}

}  // namespace tessaly
