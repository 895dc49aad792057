#pragma once

#include "text/text.h"

namespace tessaly {

// The longest file or folder name the file systems we write to accept, in bytes of
// the native (UTF-8) form.
inline constexpr int kMaxNameBytes = 255;

// Turns a name taken from a product page (a sanitised title, SKU name or product ID)
// into a path component that stays inside its folder and that the file system
// accepts once `suffix` (".jpg", ".txt", or nothing for a folder) is appended:
// - zero bytes and "/" become "_";
// - a name that, with `suffix` appended, is made of dots and spaces only (".",
//   "..", ". ") becomes "_", since it would name the folder itself or its parent;
//   with a suffix such as ".jpg" the name stays as it is ("..jpg");
// - a name too long for the file system is cut at a character boundary.
// Every other name comes back unchanged; the empty name stays empty.
Text SafeName(const Text& name, const Text& suffix = {});

}  // namespace tessaly
