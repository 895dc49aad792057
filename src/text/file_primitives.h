#pragma once

#include <functional>
#include <string>
#include <vector>

#include "text/text.h"

// Files and folders. Paths are GBK texts inside the system; they become native
// paths (UTF-8 names on Linux, UTF-16 on Windows) only in these routines. Paths
// are joined with kPathSeparator. On Linux a backslash is an ordinary name byte,
// since it is also the second byte of many GBK characters; on Windows it is the
// separator, and the path is split only after its conversion to UTF-16, where no
// character hides one.
namespace tessaly {

#ifdef _WIN32
inline constexpr char kPathSeparator[] = "\\";
#else
inline constexpr char kPathSeparator[] = "/";
#endif

// The folder that holds the program file, without a trailing separator, unless a
// front end chose another with SetRunDirectory (the headless collector's --dir,
// tests).
Text GetRunDirectory();
void SetRunDirectory(const Text& path);
// Makes the process's current folder the run directory, as the program does at start.
bool EnterRunDirectory();

// The native (UTF-8) form of a GBK path.
std::string NativePath(const Text& path);

Bytes ReadFileBytes(const Text& path);

// Writes the parts one after another, skipping empty ones, replacing the file
// whole. False when the path is empty or the file cannot be created. The file is
// swapped in at once: readers see the old content or the new one, and a failed
// write leaves the old file as it was.
bool WriteFileBytesParts(const Text& path, const std::vector<const Bytes*>& parts);

template <typename... More>
bool WriteFileBytes(const Text& path, const Bytes& first, const More&... more) {
  return WriteFileBytesParts(path, {&first, &more...});
}

// Exactly one level: false when the folder exists or its parent is missing.
bool MakeDirectory(const Text& path);
// "*" and "?" in the last component match any run of characters and any one.
bool PathExists(const Text& path);
// The size of the file at `path` in bytes; -1 when it is no file (missing, a
// folder, a device).
long long FileLength(const Text& path);

// Test seam: consulted before each part is written; returning true makes that
// write fail as a full disk would. Pass an empty function to remove it.
void SetWriteFaultForTesting(std::function<bool(const Text& path)> fault);

}  // namespace tessaly
