#pragma once

#include "collect/window_operations.h"
#include "text/text.h"

namespace tessaly {

// Downloads `address` and writes it to `path`, replacing the file whole, then tells
// the window. A download that fails or answers with an HTTP error status writes
// nothing over an earlier non-empty file (the earlier picture is worth more than
// nothing); where there is none, it leaves a file of length 0, so the user sees
// which picture is missing. An error page is never stored under a picture's name,
// and a picture cut off mid-way never replaces a complete earlier one.
void SaveImage(WindowOperations& window, const Text& address, const Text& path);

}  // namespace tessaly
