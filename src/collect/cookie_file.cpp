#include "collect/cookie_file.h"

#include <mutex>

#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

std::mutex& PathLock() {
  static std::mutex lock;
  return lock;
}

Text& ChosenPath() {
  static Text path;
  return path;
}

}  // namespace

Text CookieFilePath() {
  {
    std::lock_guard guard(PathLock());
    if (!ChosenPath().empty()) return ChosenPath();
  }
  return ConcatText(GetRunDirectory(), kPathSeparator, "阿里cookies.txt"_gbk);
}

void SetCookieFilePath(const Text& path) {
  std::lock_guard guard(PathLock());
  ChosenPath() = path;
}

Text ReadCookieFile() { return ToText(ReadFileBytes(CookieFilePath())); }

bool WriteCookieFile(const Text& value) { return WriteFileBytes(CookieFilePath(), ToBytes(value)); }

}  // namespace tessaly
