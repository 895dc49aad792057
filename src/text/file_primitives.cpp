#include "text/file_primitives.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/file_system_edge.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now; false when the close itself failed (a late write error).
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

using detail::WithoutTrailingSeparator;

// The current folder, for a process whose program file cannot be named.
Text CurrentFolder() {
  std::string buffer(4096, '\0');
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
  buffer.resize(std::strlen(buffer.c_str()));
  return WithoutTrailingSeparator(Utf8ToGbk(buffer));
}

bool WriteAll(int fd, const Bytes& bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// A name for a temporary file beside `target` that no other writer, in this
// process or another, picks at the same time.
std::string TemporarySibling(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const std::size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  char name[64];
  std::snprintf(name, sizeof name, ".tessaly-%ld-%x-%u.part", static_cast<long>(::getpid()), seed,
                counter.fetch_add(1));
  return folder + name;
}

// As many links in a row as Linux itself follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

// Where a write to `path` lands: the end of its chain of symbolic links, which
// need not exist yet (a dangling link gets its target created), or `path` itself
// when it is no link. False for a loop or a chain longer than the system follows.
bool FinalTarget(std::string path, std::string& target) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = std::move(path);
      return true;
    }
    std::string link(256, '\0');
    for (;;) {
      const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
      if (length < 0) return false;
      if (static_cast<std::size_t>(length) < link.size()) {
        link.resize(static_cast<std::size_t>(length));
        break;
      }
      link.resize(link.size() * 2);
    }
    // A relative link is read from the folder that holds it.
    const std::size_t slash = path.rfind('/');
    if ((!link.empty() && link.front() == '/') || slash == std::string::npos) {
      path = std::move(link);
    } else {
      path = path.substr(0, slash + 1) + link;
    }
  }
  errno = ELOOP;
  return false;
}

}  // namespace

// The root folder becomes the empty text, and "" + "/name" is still right.
Text detail::WithoutTrailingSeparator(Text path) {
  while (!path.empty() && path.back() == kPathSeparator[0]) path.pop_back();
  return path;
}

Text detail::ProgramFolder() {
  // An empty result would be the file system's root; better the current folder.
  std::string buffer(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return CurrentFolder();
  buffer.resize(static_cast<std::size_t>(length));
  const std::size_t cut = buffer.rfind('/');
  if (cut == std::string::npos) return CurrentFolder();
  buffer.resize(cut);
  return WithoutTrailingSeparator(Utf8ToGbk(buffer));
}

bool EnterRunDirectory() {
  const Text folder = GetRunDirectory();
  return ::chdir(folder.empty() ? kPathSeparator : NativePath(folder).c_str()) == 0;
}

std::string NativePath(const Text& path) { return GbkToUtf8(path); }

Bytes ReadFileBytes(const Text& path) {
  if (path.empty()) return {};
  FileDescriptor file(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  Bytes content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return {};
    }
    if (got == 0) break;
    content.insert(content.end(), chunk, chunk + got);
  }
  return content;
}

// The new content goes to a temporary file in the same folder, which then takes
// the target's name in one rename: a reader sees the old file or the new one,
// never a half-written one, and a failed write leaves the old file as it was.
// To the user the file is only emptied and refilled: a symbolic link stays a link
// (the target is replaced, beside itself) and the file keeps its permissions.
bool WriteFileBytesParts(const Text& path, const std::vector<const Bytes*>& parts) {
  if (path.empty()) return false;
  std::string target;
  if (!FinalTarget(NativePath(path), target)) return false;
  struct stat existing {};
  const bool replaces = ::lstat(target.c_str(), &existing) == 0;
  std::string temporary;
  std::optional<FileDescriptor> file;
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    temporary = TemporarySibling(target);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      file.emplace(fd);
    } else if (errno != EEXIST) {
      return false;  // the folder is missing or not writable: nothing was created
    }
  }
  if (!file) return false;

  // Set-user and set-group bits are left behind, as a write into the file itself
  // would clear them too.
  bool written = !replaces || ::fchmod(file->get(), existing.st_mode & 0777) == 0;
  for (const Bytes* part : parts) {
    if (!written) break;
    if (part == nullptr || part->empty()) continue;
    if (detail::InjectedWriteFault(path)) {
      errno = ENOSPC;
      written = false;
      break;
    }
    if (!WriteAll(file->get(), *part)) {
      written = false;
      break;
    }
  }
  // Flushed to the disk before the rename only where an old file would be lost:
  // a crash then leaves the old content or the new, never an empty file in its
  // place. New files skip it; a run writes thousands of them and a crash can only
  // cost a file that was not there before.
  written = written && (!replaces || ::fsync(file->get()) == 0);
  written = file->Close() && written;
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool MakeDirectory(const Text& path) {
  if (path.empty()) return false;
  return ::mkdir(NativePath(path).c_str(), 0777) == 0;
}

long long FileLength(const Text& path) {
  struct stat info {};
  if (path.empty() || ::stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return -1;
  }
  return static_cast<long long>(info.st_size);
}

bool PathExists(const Text& path) {
  if (path.empty()) return false;
  const std::string native = NativePath(path);
  const std::size_t slash = native.rfind('/');
  const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
  struct stat info {};
  if (name.find_first_of("*?") == std::string::npos) return ::lstat(native.c_str(), &info) == 0;

  // Only "*" and "?" are wildcards: a "[" stands for itself, and a backslash is
  // an ordinary name byte (FNM_NOESCAPE).
  std::string pattern;
  for (char c : name) pattern += c == '[' ? std::string("[[]") : std::string(1, c);
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view entry_name = entry->d_name;
    // The folder's links to itself and to its parent are not entries in it.
    if (entry_name == "." || entry_name == "..") continue;
    if (::fnmatch(pattern.c_str(), entry->d_name, FNM_NOESCAPE) == 0) return true;
  }
  return false;
}

}  // namespace tessaly
