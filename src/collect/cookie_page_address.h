#pragma once

#include "text/text.h"

namespace tessaly {

// The address the settings window's link "打开取COOKIES页面" opens. Process-wide,
// empty at start; written by the run's worker thread and read by the user-interface
// thread, so every access takes one lock and copies whole values.
Text GetCookiePageAddress();
void SetCookiePageAddress(const Text& address);
// The address, after storing `fallback` when it is empty, in one step, so a run's
// product address stored at the same moment is never overwritten.
Text CookiePageAddressOr(const Text& fallback);

}  // namespace tessaly
