#pragma once

#include "text/text.h"

namespace tessaly {

// The address the settings window's link "打开取COOKIES页面" opens. Process-wide,
// empty at start; written by the run's worker thread and read by the user-interface
// thread, so every access takes one lock and copies whole values.
Text GetCookiePageAddress();
void SetCookiePageAddress(const Text& address);

}  // namespace tessaly
