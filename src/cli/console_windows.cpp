#include <algorithm>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "cli/console.h"
#include "text/wide_text.h"

namespace tessaly::cli {
namespace {

HANDLE ConsoleOf(std::FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  DWORD mode = 0;
  // GetConsoleMode fails for a pipe or a file: those get the UTF-8 bytes.
  if (handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode)) return nullptr;
  return handle;
}

}  // namespace

void InitializeConsole() {
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  // The progress line is redrawn with "ESC [ K"; consoles before Windows 10 show
  // the sequence as it is, which is still readable.
  for (std::FILE* stream : {stdout, stderr}) {
    const HANDLE console = ConsoleOf(stream);
    DWORD mode = 0;
    if (console != nullptr && ::GetConsoleMode(console, &mode)) {
      ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
  }
}

bool IsTerminal(std::FILE* stream) { return ::_isatty(::_fileno(stream)) != 0; }

void WriteText(std::FILE* stream, std::string_view text) {
  const HANDLE console = ConsoleOf(stream);
  if (console == nullptr) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  std::fflush(stream);
  const std::wstring wide = Utf8ToWide(text);
  std::size_t at = 0;
  while (at < wide.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 16 * 1024));
    if (!::WriteConsoleW(console, wide.data() + at, chunk, &written, nullptr) || written == 0) {
      // A console that refuses wide text still gets the bytes.
      const std::string rest = WideToUtf8(std::wstring_view(wide).substr(at));
      std::fwrite(rest.data(), 1, rest.size(), stream);
      return;
    }
    at += written;
  }
}

const char* EndOfInputKey() { return "Ctrl-Z and Enter"; }

std::filesystem::path PathFromUtf8(const std::string& utf8) { return Utf8ToWide(utf8); }

std::string Utf8FromPath(const std::filesystem::path& path) { return WideToUtf8(path.native()); }

char PathSeparator() { return '\\'; }

}  // namespace tessaly::cli
