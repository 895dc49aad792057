#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The collector's edge to the operating system's console, streams and paths. All
// texts and paths are UTF-8 here; the Windows build converts them to the system's
// wide strings, so nothing passes through the ANSI code page, whatever the
// machine's locale.
namespace tessaly::cli {

// Prepares the standard streams once, before anything is written or read: raw
// bytes in and out (no CR LF rewriting), escape sequences on a Windows console.
void InitializeConsole();

// Whether the stream is an interactive terminal or console.
bool IsTerminal(std::FILE* stream);

// Writes UTF-8 text. On a Windows console it goes out as UTF-16, so Chinese shows
// whatever the console's code page; into a pipe or a file it stays UTF-8.
void WriteText(std::FILE* stream, std::string_view text);

// The key that ends typed input on this system, for the prompt.
const char* EndOfInputKey();

// UTF-8 to a path the system opens as such, and back (with "/" kept as written).
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// The folder separator the run uses in the paths it shows.
char PathSeparator();

}  // namespace tessaly::cli
