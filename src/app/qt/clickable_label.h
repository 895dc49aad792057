#pragma once

#include <QLabel>

namespace tessaly {

// A label or picture box that reports a press of the left mouse button; the windows'
// links, the status label and the help picture act on the press, not on release.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void leftPressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tessaly
