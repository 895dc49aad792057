#pragma once

#include "text/text.h"

namespace tessaly {

// "阿里cookies.txt" in the run directory, unless a front end names another file
// (the headless collector's --cookies). Its whole content is the cookie header value.
Text CookieFilePath();
void SetCookieFilePath(const Text& path);  // empty: back to the run directory's file

// The file's content up to its first zero byte; the empty text when it is missing.
Text ReadCookieFile();
// Replaces the file with exactly these bytes (no terminator, no line break added).
bool WriteCookieFile(const Text& value);

}  // namespace tessaly
