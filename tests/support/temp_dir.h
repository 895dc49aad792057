#pragma once

#include <string>

#include "text/text.h"

namespace tessaly::testing {

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
  // path() + "/" + relative, for UTF-8 relative names.
  std::string Join(const std::string& relative) const;

 private:
  std::string path_;
  bool run_directory_;
  Text previous_run_directory_;
};

// Reads a whole file (native path); empty when missing.
std::string ReadNativeFile(const std::string& path);
void WriteNativeFile(const std::string& path, const std::string& content);
bool NativeExists(const std::string& path);
bool NativeIsDirectory(const std::string& path);

// The folder tree below `root`, one "relative/path" per line, folders ending in "/",
// files followed by " (<size>)", sorted; for whole-tree assertions.
std::string DescribeTree(const std::string& root);

}  // namespace tessaly::testing
