#pragma once

#include <filesystem>
#include <string>

#include "text/text.h"

namespace tessaly::testing {

// Test names are UTF-8. std::filesystem reads a narrow string as UTF-8 on Linux
// but in the ANSI code page on Windows, so paths cross over through these two.
std::filesystem::path NativePath(const std::string& utf8);
// Folders separated by "/" on either system.
std::string Utf8Path(const std::filesystem::path& path);

// A path below a TempDir, usable as a std::filesystem::path and as its UTF-8
// string alike.
class JoinedPath : public std::filesystem::path {
 public:
  explicit JoinedPath(const std::string& utf8)
      : std::filesystem::path(NativePath(utf8)), utf8_(utf8) {}
  operator std::string() const { return utf8_; }

 private:
  std::string utf8_;
};

// A fresh folder under the system's temporary folder, removed with its contents
// when the value goes. Also made the run directory while it lives, when asked.
class TempDir {
 public:
  explicit TempDir(bool makeRunDirectory = false);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }  // native (UTF-8)
  Text gbk_path() const;                             // the same as a GBK text
  // path() + "/" + relative, for UTF-8 relative names (with the backslash as
  // the separator on Windows).
  JoinedPath Join(const std::string& relative) const;

 private:
  std::string path_;
  bool run_directory_;
  Text previous_run_directory_;
};

// Reads a whole file (UTF-8 path); empty when missing.
std::string ReadNativeFile(const std::string& path);
void WriteNativeFile(const std::string& path, const std::string& content);
bool NativeExists(const std::string& path);
bool NativeIsDirectory(const std::string& path);

// The folder tree below `root`, one "relative/path" per line, folders ending in "/",
// files followed by " (<size>)", sorted; for whole-tree assertions.
std::string DescribeTree(const std::string& root);

}  // namespace tessaly::testing
