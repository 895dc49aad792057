#pragma once

#include <vector>

#include <QFont>
#include <QString>
#include <QWidget>

#include "app/window_table.h"

namespace tessaly {

// The table's YaHei face at its character height, in the style's weight, or a CJK face
// of the same height where that face is not installed.
QFont YaHeiFont(ui::FontStyle style);

// The table's title bar, frame and buttons: a fixed border with a minimise and a close
// button and no maximise button, centred on the screen. Qt sizes a window without the
// title bar and frame, which the window manager adds and whose size is not known until
// it has, so the table's outer size is taken as the size below the title bar: the
// client area is a title bar taller than on Windows, and every control fits with room
// to spare.
void MakeFixedCentredWindow(QWidget& window, const ui::WindowDef& definition);

// The width a window needs for its title bar to show `caption` whole: the caption in
// the title bar's font, with room for the window's icon, its caption buttons and the
// frame. Never wider than the window's screen.
int WidthForCaption(const QWidget& window, const QString& caption);

// A window about to open where one of `open` already is (or less than a cascade step
// from it) moves down and to the right, step by step, back to the screen's top-left
// corner when it would leave the screen, until it stands clear of them all; so
// closing either window visibly leaves the other.
void CascadeClearOf(QWidget& window, const std::vector<const QWidget*>& open);

}  // namespace tessaly
