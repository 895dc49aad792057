#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>

namespace tessaly {

// 微软雅黑 at a character height of 15 pixels, or a CJK face of the same height
// where that face is not installed.
QFont YaHeiFont(QFont::Weight weight = QFont::Normal);

// A fixed border with a minimise and a close button and no maximise button, the
// client area of the given size, centred on the screen.
void MakeFixedCentredWindow(QWidget& window, QSize clientSize);

// A control of the window's definition: its name, and its place and size in the
// parent's client coordinates. The parent owns it.
template <typename Control>
Control* PlaceControl(QWidget& parent, const char* name, int left, int top, int width, int height) {
  auto* control = new Control(&parent);
  control->setObjectName(QString::fromUtf8(name));
  control->setGeometry(left, top, width, height);
  return control;
}

// Red caption and a hand cursor: the look of the windows' links.
void MakeLinkLook(QWidget& label);

}  // namespace tessaly
