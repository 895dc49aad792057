#include <unistd.h>

#include "cli/console.h"

namespace tessaly::cli {

void InitializeConsole() {}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

void WriteText(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

const char* EndOfInputKey() { return "Ctrl-D"; }

std::filesystem::path PathFromUtf8(const std::string& utf8) { return utf8; }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

char PathSeparator() { return '/'; }

}  // namespace tessaly::cli
