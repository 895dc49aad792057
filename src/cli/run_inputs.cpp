#include "cli/run_inputs.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "collect/cookie_file.h"
#include "text/file_primitives.h"
#include "text/gbk.h"

namespace tessaly::cli {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads to the end; false with errno's text. A folder is refused before reading,
// since some systems let read() on it return nothing instead of an error.
bool ReadAll(int fd, std::string& content, std::string& error) {
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
    error = std::strerror(EISDIR);
    return false;
  }
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      return false;
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

bool ReadFile(const std::string& path, std::string& content, std::string& error) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    error = std::strerror(errno);
    return false;
  }
  return ReadAll(file.get(), content, error);
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
  if (from_input ? !ReadAll(STDIN_FILENO, content, reason) : !ReadFile(file, content, reason)) {
    error = from_input ? "cannot read links from standard input: " + reason
                       : "cannot read links file " + file + ": " + reason;
    return false;
  }
  links = Utf8ToGbk(content);
  return true;
}

bool UseRunDirectory(const std::string& requested, std::string& absolute, bool& created,
                     std::string& error) {
  namespace fs = std::filesystem;
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
  const fs::path path = requested.empty() ? fs::current_path(failure) : fs::path(requested);
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
  absolute = canonical.string();
  if (!GbkPath(absolute, gbk, reason)) return refuse(reason);
  SetRunDirectory(gbk);
  return true;
}

bool UseCookieFile(const std::string& file, std::string& error) {
  std::string content;
  std::string reason;
  Text gbk;
  std::error_code failure;
  const std::string absolute = std::filesystem::absolute(file, failure).string();
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
