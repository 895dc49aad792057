#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures are drawn at run time, so the program carries no image files.
namespace tessaly {

// A teal arrow pointing down inside a dashed square frame with soft corners; 128 × 128
// and smaller variants.
QIcon ProgramIcon();

// 16 × 16: a question mark in a circle, the windows' help picture.
QPixmap QuestionMarkPicture();

}  // namespace tessaly
