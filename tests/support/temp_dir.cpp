#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include <stdlib.h>

#include "text/file_primitives.h"
#include "text/gbk.h"

namespace tessaly::testing {

namespace fs = std::filesystem;

#ifdef _WIN32
fs::path NativePath(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const fs::path& path) {
  const std::u8string utf8 = path.generic_u8string();
  return std::string(utf8.begin(), utf8.end());
}

namespace {
// The C runtime has no mkdtemp.
std::string MakeTemporaryFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("tessaly-test-" + std::to_string(random()));
    std::error_code error;
    // With "/" between folders, so that tests compare paths the same way on
    // both systems; the file routines take either separator.
    if (fs::create_directory(candidate, error)) return Utf8Path(candidate);
  }
  return {};
}
}  // namespace
#else
fs::path NativePath(const std::string& utf8) { return fs::path(utf8); }

std::string Utf8Path(const fs::path& path) { return path.generic_string(); }

namespace {
std::string MakeTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "tessaly-test-XXXXXX").string();
  return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}
}  // namespace
#endif

TempDir::TempDir(bool makeRunDirectory) : run_directory_(makeRunDirectory) {
  path_ = MakeTemporaryFolder();
  // Without a folder of its own a test would write into the real file system.
  if (path_.empty()) std::abort();
  if (run_directory_) {
    previous_run_directory_ = GetRunDirectory();
    SetRunDirectory(gbk_path());
  }
}

TempDir::~TempDir() {
  if (run_directory_) SetRunDirectory(previous_run_directory_);
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(NativePath(path_), ignored);
}

Text TempDir::gbk_path() const { return Utf8ToGbk(path_); }

JoinedPath TempDir::Join(const std::string& relative) const {
#ifdef _WIN32
  std::string joined = path_ + "\\" + relative;
  std::replace(joined.begin(), joined.end(), '/', '\\');
  return JoinedPath(joined);
#else
  return JoinedPath(path_ + "/" + relative);
#endif
}

std::string ReadNativeFile(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteNativeFile(const std::string& path, const std::string& content) {
  std::ofstream(NativePath(path), std::ios::binary | std::ios::trunc) << content;
}

bool NativeExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(NativePath(path), ignored);
}

bool NativeIsDirectory(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(NativePath(path), ignored);
}

std::string DescribeTree(const std::string& root) {
  std::vector<std::string> lines;
  std::error_code ignored;
  const fs::path top = NativePath(root);
  for (auto it = fs::recursive_directory_iterator(top, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    std::string relative = Utf8Path(fs::relative(it->path(), top, ignored));
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
