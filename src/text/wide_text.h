#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

// Windows only: the system's wide strings (UTF-16) at the edges of the core, for
// file names, the shell, message boxes and the console. They follow the rules of
// gbk.h: characters GBK lacks become "?", invalid GBK and invalid UTF-8 become
// U+FFFD.
namespace tessaly {

std::wstring GbkToWide(std::string_view gbk);
Text WideToGbk(std::wstring_view wide);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// True when the wide text comes back unchanged from a GBK text, so that a name the
// system gave (a folder, an argument) can be used by the core as it is.
bool WideFitsGbk(std::wstring_view wide);

}  // namespace tessaly
