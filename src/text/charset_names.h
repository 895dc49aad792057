#pragma once

#include <string_view>

// The character sets that pages declare, under the names they declare them by,
// each with the converter that decodes it on Windows (a code page) and with ICU.
// Both builds read a name the same way, so a page gives the same text on both.
namespace tessaly {

struct KnownCharset {
  unsigned codePage;    // for MultiByteToWideChar
  const char* icuName;  // for ucnv_open
};

// Looks `declared` up in any case; nullptr when the name is not one of these.
// Where a name has two readings, the one browsers use wins, since that is what
// the page's author saw: ISO-8859-1 and US-ASCII are read as Windows-1252, GB2312
// as the whole of GBK, and a UTF-16 name as UTF-8 (a declaration readable as text
// cannot stand in a UTF-16 page, whose every other byte is a zero).
const KnownCharset* LookUpCharset(std::string_view declared);

}  // namespace tessaly
