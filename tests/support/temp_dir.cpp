#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <stdlib.h>

#include "text/file_primitives.h"
#include "text/gbk.h"

namespace tessaly::testing {

namespace fs = std::filesystem;

TempDir::TempDir(bool makeRunDirectory) : run_directory_(makeRunDirectory) {
  std::string pattern = (fs::temp_directory_path() / "tessaly-test-XXXXXX").string();
  // Without a folder of its own a test would write into the real file system.
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
  if (run_directory_) {
    previous_run_directory_ = GetRunDirectory();
    SetRunDirectory(gbk_path());
  }
}

TempDir::~TempDir() {
  if (run_directory_) SetRunDirectory(previous_run_directory_);
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

Text TempDir::gbk_path() const { return Utf8ToGbk(path_); }

std::string TempDir::Join(const std::string& relative) const { return path_ + "/" + relative; }

std::string ReadNativeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteNativeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

bool NativeExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

bool NativeIsDirectory(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

std::string DescribeTree(const std::string& root) {
  std::vector<std::string> lines;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(root, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    std::string relative = fs::relative(it->path(), root, ignored).string();
    if (it->is_directory(ignored)) {
      lines.push_back(relative + "/");
    } else {
      lines.push_back(relative + " (" + std::to_string(it->file_size(ignored)) + ")");
    }
  }
  std::sort(lines.begin(), lines.end());
  std::string tree;
  for (const std::string& line : lines) tree += line + "\n";
  return tree;
}

}  // namespace tessaly::testing
