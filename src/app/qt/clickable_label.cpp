#include "app/qt/clickable_label.h"

#include <QMouseEvent>

namespace tessaly {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  event->accept();  // handled here; the window below has nothing to do with it
  emit leftPressed();
}

}  // namespace tessaly
