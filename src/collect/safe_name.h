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
// - a name too long for the file system is cut at a character boundary;
// - on Windows, also WindowsSafeName.
// Every other name comes back unchanged; the empty name stays empty.
Text SafeName(const Text& name, const Text& suffix = {});

// What Windows adds, applied by SafeName in the Windows build. Its file functions
// are given long paths ("\\?\"), which pass a name as it is written; then ": < > \""
// and control characters would fail the write or, for ":", hide the picture in
// an alternate data stream, and CON, NUL, COM1 or a name ending in a dot or a space
// would make a file that Explorer cannot open or delete. So:
// - ':', '<', '>', '"' and the bytes 0x01 to 0x1F become "_";
// - trailing dots and spaces of the name as written become "_" each;
// - a reserved device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in
//   any case, also before an extension: "con.jpg") gets a leading "_".
// All these bytes are below 0x40, so none is ever the second byte of a GBK
// character and the rule cannot cut one. On Linux the names stay as the page has
// them, so both systems write the same tree for every ordinary name.
Text WindowsSafeName(const Text& name, const Text& suffix = {});

}  // namespace tessaly
