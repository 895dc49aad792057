#pragma once

#include <vector>

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

// The width a window needs for its title bar to show `caption` whole: the caption in
// the title bar's font, with room for the window's icon, its caption buttons and the
// frame. Never wider than the window's screen.
int WidthForCaption(const QWidget& window, const QString& caption);

// A window about to open where one of `open` already is (or less than a cascade step
// from it) moves down and to the right, step by step, back to the screen's top-left
// corner when it would leave the screen, until it stands clear of them all; so
// closing either window visibly leaves the other.
void CascadeClearOf(QWidget& window, const std::vector<const QWidget*>& open);

// Red caption and a hand cursor: the look of the windows' links.
void MakeLinkLook(QWidget& label);

}  // namespace tessaly
