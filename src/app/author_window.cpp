#include "app/author_window.h"

#include <QLabel>

#include "app/window_look.h"

namespace tessaly {

AuthorWindow::AuthorWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("作者信息"));
  auto* name = PlaceControl<QLabel>(*this, "标签1", 144, 104, 152, 40);
  name->setText(QStringLiteral("作者：Morvane\n"));
  name->setFont(YaHeiFont());
  MakeFixedCentredWindow(*this, QSize(423, 317));
}

}  // namespace tessaly
