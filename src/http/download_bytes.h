#pragma once

#include "text/text.h"

namespace tessaly {

// One plain GET of a whole resource: the body whatever the status, the bytes so far
// when a read fails mid-way, the empty array on every other failure. *httpStatus,
// when given, receives the final response's status code (0 when none arrived), so
// that a caller can tell an error page from an image; *complete, when given, tells
// whether the whole body arrived (false after a read that failed mid-way).
Bytes DownloadBytes(const Text& address, int* httpStatus = nullptr, bool* complete = nullptr);

}  // namespace tessaly
