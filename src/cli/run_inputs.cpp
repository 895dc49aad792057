#include "cli/run_inputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/console.h"
#include "collect/cookie_file.h"
#include "text/file_primitives.h"
#include "text/gbk.h"

namespace tessaly::cli {
namespace {

namespace fs = std::filesystem;

// Reads to the end of standard input; false with the system's reason.
bool ReadInput(std::string& content, std::string& error) {
  char buffer[64 * 1024];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, stdin);
    content.append(buffer, got);
    if (got < sizeof buffer) {
      if (!std::ferror(stdin)) return true;
      error = std::strerror(errno);
      return false;
    }
  }
}

// Reads a whole file given by its UTF-8 path. A folder is refused before reading,
// since some systems let a read of it return nothing instead of an error.
bool ReadFile(const std::string& path, std::string& content, std::string& error) {
  const fs::path native = PathFromUtf8(path);
  std::error_code failure;
  if (fs::is_directory(native, failure)) {
    error = std::strerror(EISDIR);
    return false;
  }
  errno = 0;
  std::ifstream in(native, std::ios::binary);
  if (!in) {
    error = std::strerror(errno != 0 ? errno : ENOENT);
    return false;
  }
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = std::strerror(EIO);
    return false;
  }
  return true;
}

// Links files come from editors: UTF-8, with or without a byte-order mark, or,
// from Notepad on a Chinese Windows, GBK. Bytes that are not valid UTF-8 are read
// as GBK, which is what the run works in anyway.
Text LinksText(std::string content) {
  if (content.starts_with("\xEF\xBB\xBF")) content.erase(0, 3);
  if (IsValidUtf8(content)) return Utf8ToGbk(content);
  return content;
}

// The run names its files in GBK; a path with characters GBK lacks would silently
// turn into another path, so it is refused instead.
bool GbkPath(const std::string& native, Text& gbk, std::string& error) {
  gbk = Utf8ToGbk(native);
  if (!FitsGbk(native)) {
    error = "the path has characters that the run cannot use in file names (outside GBK)";
    return false;
  }
  return true;
}

}  // namespace

bool FitsGbk(const std::string& utf8) { return GbkToUtf8(Utf8ToGbk(utf8)) == utf8; }

bool ReadLinks(const std::string& file, Text& links, std::string& error) {
  std::string content;
  std::string reason;
  const bool from_input = file.empty() || file == "-";
  if (from_input ? !ReadInput(content, reason) : !ReadFile(file, content, reason)) {
    error = from_input ? "cannot read links from standard input: " + reason
                       : "cannot read links file " + file + ": " + reason;
    return false;
  }
  links = LinksText(std::move(content));
  return true;
}

bool UseRunDirectory(const std::string& requested, std::string& absolute, bool& created,
                     std::string& error) {
  const std::string shown = requested.empty() ? std::string(".") : requested;
  auto refuse = [&](const std::string& reason) {
    error = "cannot use " + shown + " as the run directory: " + reason;
    return false;
  };
  Text gbk;
  std::string reason;
  // Checked before anything is created, so a refused name leaves no folder behind.
  if (!GbkPath(requested, gbk, reason)) return refuse(reason);

  std::error_code failure;
  const fs::path path = requested.empty() ? fs::current_path(failure) : PathFromUtf8(requested);
  created = false;
  if (!failure && !fs::exists(path, failure) && !failure) {
    created = fs::create_directories(path, failure);
  }
  if (!failure && !fs::is_directory(path, failure) && !failure) {
    failure = std::make_error_code(std::errc::not_a_directory);
  }
  fs::path canonical;
  if (!failure) canonical = fs::canonical(path, failure);
  if (failure) return refuse(failure.message());
  absolute = Utf8FromPath(canonical.make_preferred());
  if (!GbkPath(absolute, gbk, reason)) return refuse(reason);
  SetRunDirectory(gbk);
  return true;
}

bool UseCookieFile(const std::string& file, std::string& error) {
  std::string content;
  std::string reason;
  Text gbk;
  std::error_code failure;
  const std::string absolute =
      Utf8FromPath(fs::absolute(PathFromUtf8(file), failure).make_preferred());
  if (failure) {
    reason = failure.message();
  } else if (ReadFile(absolute, content, reason) && GbkPath(absolute, gbk, reason)) {
    SetCookieFilePath(gbk);
    return true;
  }
  error = "cannot read cookie file " + file + ": " + reason;
  return false;
}

}  // namespace tessaly::cli
