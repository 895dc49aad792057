#pragma once

#include "text/text.h"

namespace tessaly {

// Makes a text usable as a file or folder name by replacing "/", "\\", "*", "|"
// and "?" with "_", in that order and character-aware, so the second byte of a
// two-byte character is never taken for one of them. Nothing else changes.
Text SanitizeName(const Text& name);

}  // namespace tessaly
