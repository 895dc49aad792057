#pragma once

#include <QFont>
#include <QSize>

class QWidget;

namespace tessaly {

// 微软雅黑 at a character height of 15 pixels, or a CJK face of the same height
// where that face is not installed.
QFont YaHeiFont(QFont::Weight weight = QFont::Normal);

// A fixed border with a minimise and a close button and no maximise button, the
// client area of the given size, centred on the screen.
void MakeFixedCentredWindow(QWidget& window, QSize clientSize);

// Red caption and a hand cursor: the look of the windows' links.
void MakeLinkLook(QWidget& label);

}  // namespace tessaly
