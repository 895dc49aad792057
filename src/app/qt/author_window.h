#pragma once

#include <QDialog>

namespace tessaly {

// The author window: the author's name and nothing else. The menu that opens it is
// never shown, but it belongs to the window's definition.
class AuthorWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AuthorWindow(QWidget* parent = nullptr);
};

}  // namespace tessaly
