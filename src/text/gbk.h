#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

// Conversions at the edges of the core: everything inside is GBK, the file system
// and the terminal speak UTF-8, Qt speaks UTF-16.
namespace tessaly {

// Characters that GBK cannot hold become "?", as the platform's conversion did.
Text Utf8ToGbk(std::string_view utf8);
Text Utf16ToGbk(std::u16string_view utf16);

// Bytes that are not valid GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);
// Whether the bytes are well-formed UTF-8 (no stray byte, no surrogate, no
// overlong form).
bool IsValidUtf8(std::string_view bytes);
std::u16string GbkToUtf16(std::string_view gbk);

// Decodes bytes of the named character set (any case; see charset_names.h) into GBK.
// False, with `out` untouched, when the name is unknown.
bool CharsetToGbk(std::string_view bytes, const std::string& charset, Text& out);

// GBK text from a UTF-8 literal in the sources: "程序启动......"_gbk.
inline Text operator""_gbk(const char* utf8, std::size_t length) {
  return Utf8ToGbk(std::string_view(utf8, length));
}

}  // namespace tessaly
