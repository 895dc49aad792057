#pragma once

#include "text/text.h"

// What the file primitives of each system (file_primitives.cpp on Linux,
// file_primitives_windows.cpp on Windows) give to the parts both share
// (run_directory.cpp). Not for use outside src/text.
namespace tessaly::detail {

// The folder that holds the program file, without a trailing separator; the
// current folder when the program file cannot be named.
Text ProgramFolder();
// Cuts trailing separators, so that joining with kPathSeparator never doubles one.
Text WithoutTrailingSeparator(Text path);
// The test seam of SetWriteFaultForTesting: whether the next write to `path`
// is to fail as a full disk would.
bool InjectedWriteFault(const Text& path);

}  // namespace tessaly::detail
