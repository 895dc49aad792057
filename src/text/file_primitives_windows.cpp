// Files and folders with the wide-character Windows API. A GBK path becomes UTF-16
// here and nowhere else, so Chinese names work whatever code page the system uses
// for programs that are not Unicode. Separators are looked for only in UTF-16: in
// GBK the byte 0x5C is also the second byte of many characters (誠 is D5 5C).
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <random>

#include <windows.h>

#include "text/file_primitives.h"
#include "text/file_system_edge.h"
#include "text/gbk.h"
#include "text/wide_text.h"

namespace tessaly {
namespace {

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now; false when the close itself failed.
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != 0;
  }

 private:
  HANDLE handle_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

bool IsDriveAbsolute(std::wstring_view path) {
  return path.size() >= 3 &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
         path[1] == L':' && IsSeparator(path[2]);
}

bool IsUnc(std::wstring_view path) {
  return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != L'?' &&
         path[2] != L'.';
}

// The components after `root`, with "." dropped, ".." taking the one before it away
// (never the root itself) and empty ones (doubled separators) dropped, joined by
// backslashes: what Windows does to a path before it opens it, but without its
// other rewriting (trailing dots and spaces cut off a name, CON or NUL taken for
// a device), since a long path is handed over exactly as written.
std::wstring JoinedComponents(std::wstring_view root, std::wstring_view rest) {
  std::vector<std::wstring_view> parts;
  std::size_t at = 0;
  while (at <= rest.size()) {
    std::size_t end = at;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::wstring_view part = rest.substr(at, end - at);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::wstring joined(root);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += L'\\';
    joined += parts[i];
  }
  return joined;
}

// The form the file functions are given. An absolute path gets the "\\?\" prefix,
// which lifts the limit of MAX_PATH (260) characters and passes every name as it
// is: a folder named after a product called "CON" is a folder, never the console.
// Relative paths, which the program itself never builds, go as they are.
std::wstring SystemPath(const Text& path) {
  const std::wstring wide = GbkToWide(path);
  const std::wstring_view view = wide;
  if (view.starts_with(kLongPrefix) || view.starts_with(kDevicePrefix)) return wide;
  if (IsDriveAbsolute(view)) {
    std::wstring root(kLongPrefix);
    root += view.substr(0, 2);
    root += L'\\';
    return JoinedComponents(root, view.substr(3));
  }
  if (IsUnc(view)) return JoinedComponents(std::wstring(kLongUncPrefix), view.substr(2));
  std::wstring relative = wide;
  std::replace(relative.begin(), relative.end(), L'/', L'\\');
  return relative;
}

// The usual form of a path the system gave in its long form.
std::wstring WithoutLongPrefix(std::wstring path) {
  if (std::wstring_view(path).starts_with(kLongUncPrefix)) {
    return L"\\\\" + path.substr(kLongUncPrefix.size());
  }
  if (std::wstring_view(path).starts_with(kLongPrefix)) return path.substr(kLongPrefix.size());
  return path;
}

using detail::WithoutTrailingSeparator;

// A folder the system names in UTF-16, as a GBK text. A name with characters that
// GBK lacks (a user name in Korean, say) would turn into another path; its short
// 8.3 form, where the volume keeps one, is plain ASCII and names the same folder.
Text FolderText(const std::wstring& folder) {
  std::wstring usable = folder;
  if (!WideFitsGbk(usable)) {
    std::wstring shortened(32768, L'\0');
    const DWORD length =
        GetShortPathNameW(folder.c_str(), shortened.data(), static_cast<DWORD>(shortened.size()));
    if (length > 0 && length < shortened.size()) {
      shortened.resize(length);
      if (WideFitsGbk(shortened)) usable = WithoutLongPrefix(shortened);
    }
  }
  return WithoutTrailingSeparator(WideToGbk(usable));
}

Text CurrentFolder() {
  std::wstring buffer(32768, L'\0');
  const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size()) return ".";
  buffer.resize(length);
  return FolderText(WithoutLongPrefix(buffer));
}

bool WriteAll(HANDLE file, const Bytes& bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    left -= written;
  }
  return true;
}

// A name for a temporary file beside `target` that no other writer, in this
// process or another, picks at the same time.
std::wstring TemporarySibling(const std::wstring& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const std::size_t slash = target.rfind(L'\\');
  const std::wstring folder =
      slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
  wchar_t name[64];
  std::swprintf(name, sizeof name / sizeof name[0], L".tessaly-%lu-%x-%u.part",
                static_cast<unsigned long>(GetCurrentProcessId()), seed, counter.fetch_add(1));
  return folder + name;
}

// Where a write to `target` lands when it is a symbolic link: the file it points
// to, which is replaced beside itself while the link stays. False when the link
// leads nowhere.
bool LinkTarget(std::wstring& target) {
  Handle file(CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return false;
  std::wstring final(32768, L'\0');
  const DWORD length =
      GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()), 0);
  if (length == 0 || length >= final.size()) return false;
  final.resize(length);
  target = std::move(final);
  return true;
}

// Puts the finished temporary file in the target's place. Over an old file
// ReplaceFileW keeps what belongs to the file rather than to its content (its
// attributes, its access rights, its creation time); where it cannot,
// MoveFileExW replaces the old file in one rename all the same.
bool MoveIntoPlace(const std::wstring& temporary, const std::wstring& target, bool replaces) {
  if (replaces && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr)) {
    return true;
  }
  return MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool HasWildcard(std::wstring_view name) { return name.find_first_of(L"*?") != name.npos; }

}  // namespace

// Only whole characters count: a trailing 0x5C that ends a two-byte character
// stays. "C:\" becomes "C:", and "C:" + "\name" is still right.
Text detail::WithoutTrailingSeparator(Text path) {
  std::size_t keep = 0;
  std::size_t i = 0;
  while (i < path.size()) {
    const auto byte = static_cast<unsigned char>(path[i]);
    const bool pair = byte >= 0x81 && byte <= 0xFE && i + 1 < path.size();
    const bool separator = !pair && (byte == '\\' || byte == '/');
    i += pair ? 2 : 1;
    if (!separator) keep = i;
  }
  path.resize(keep);
  return path;
}

Text detail::ProgramFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return CurrentFolder();
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) return CurrentFolder();
    buffer.resize(buffer.size() * 2);
  }
  buffer = WithoutLongPrefix(buffer);
  const std::size_t cut = buffer.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return CurrentFolder();
  buffer.resize(cut);
  // An empty result would be the root of the current drive; better the current folder.
  if (buffer.empty()) return CurrentFolder();
  return FolderText(buffer);
}

bool EnterRunDirectory() {
  std::wstring folder = GbkToWide(GetRunDirectory());
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  // "C:" alone would be the current folder of drive C, not its root.
  if (folder.empty() || folder.back() == L':') folder += L'\\';
  return SetCurrentDirectoryW(folder.c_str()) != 0;
}

std::string NativePath(const Text& path) { return GbkToUtf8(path); }

Bytes ReadFileBytes(const Text& path) {
  if (path.empty()) return {};
  // Other readers may share the file; a writer may not while it is read.
  Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                          nullptr));
  LARGE_INTEGER size{};
  // A folder cannot be opened so; a device (a pipe, the console) is no file.
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK ||
      !GetFileSizeEx(file.get(), &size)) {
    return {};
  }
  Bytes content;
  content.reserve(static_cast<std::size_t>(size.QuadPart));
  std::uint8_t chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return {};
    if (got == 0) break;
    content.insert(content.end(), chunk, chunk + got);
  }
  return content;
}

// The new content goes to a temporary file in the same folder, which then takes
// the target's place: a reader sees the old file or the new one, never a
// half-written one, and a failed write leaves the old file as it was.
bool WriteFileBytesParts(const Text& path, const std::vector<const Bytes*>& parts) {
  if (path.empty()) return false;
  std::wstring target = SystemPath(path);
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    if (!LinkTarget(target)) return false;
    attributes = GetFileAttributesW(target.c_str());
  }
  const bool replaces = attributes != INVALID_FILE_ATTRIBUTES;
  if (replaces && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;

  std::wstring temporary;
  std::optional<Handle> file;
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    temporary = TemporarySibling(target);
    HANDLE created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE) {
      file.emplace(created);
    } else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;  // the folder is missing or not writable: nothing was created
    }
  }
  if (!file) return false;

  bool written = true;
  for (const Bytes* part : parts) {
    if (part == nullptr || part->empty()) continue;
    if (detail::InjectedWriteFault(path) || !WriteAll(file->get(), *part)) {
      written = false;
      break;
    }
  }
  // Flushed to the disk before the swap only where an old file would be lost: a
  // crash then leaves the old content or the new, never an empty file in its
  // place. New files skip it; a run writes thousands of them.
  written = written && (!replaces || FlushFileBuffers(file->get()));
  written = file->Close() && written;
  if (!written || !MoveIntoPlace(temporary, target, replaces)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool MakeDirectory(const Text& path) {
  if (path.empty()) return false;
  return CreateDirectoryW(SystemPath(path).c_str(), nullptr) != 0;
}

// Without a wildcard the file's attributes answer, which also works for a drive's
// root (FindFirstFileW finds no entry for "C:\"). With one, the system's own
// search decides what matches, as Windows reads "*" and "?"; the folder's entries
// for itself and its parent are no match.
bool PathExists(const Text& path) {
  if (path.empty()) return false;
  const std::wstring system = SystemPath(path);
  const std::size_t cut = system.rfind(L'\\');
  const std::wstring_view name = cut == std::wstring::npos
                                     ? std::wstring_view(system)
                                     : std::wstring_view(system).substr(cut + 1);
  if (system.starts_with(kLongPrefix) && cut < kLongPrefix.size()) return false;
  if (!HasWildcard(name)) return GetFileAttributesW(system.c_str()) != INVALID_FILE_ATTRIBUTES;

  WIN32_FIND_DATAW entry{};
  FindHandle search(
      FindFirstFileExW(system.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  if (!search.valid()) return false;
  do {
    const std::wstring_view found = entry.cFileName;
    if (found != L"." && found != L"..") return true;
  } while (FindNextFileW(search.get(), &entry));
  return false;
}

long long FileLength(const Text& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() ||
      !GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return -1;
  }
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace tessaly
