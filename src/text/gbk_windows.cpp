// GBK, UTF-8 and the declared character sets of pages with the code pages of
// Windows itself (MultiByteToWideChar, WideCharToMultiByte), giving the same texts
// as the ICU build: what the system's converters do differently (invalid bytes,
// surrogate pairs, invisible characters, best-fit guesses) is settled here before
// they are called.
#include <algorithm>
#include <climits>
#include <cstdint>

#include <windows.h>

#include "text/charset_names.h"
#include "text/gbk.h"
#include "text/wide_text.h"

namespace tessaly {
namespace {

constexpr UINT kGbkCodePage = 936;
constexpr UINT kUtf8CodePage = 65001;
constexpr UINT kGb18030CodePage = 54936;
constexpr wchar_t kReplacement = 0xFFFD;
// Long texts go to the system in pieces of at most this many bytes (it counts in
// int), always cut between two characters.
constexpr std::size_t kPiece = std::size_t{1} << 24;

bool IsGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsGbkTrail(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// Appends the system's decoding of bytes known to be well formed in `codePage`.
// No code page gives more UTF-16 units than it has bytes, so one call does.
bool AppendDecoded(UINT codePage, std::string_view bytes, std::wstring& out) {
  if (bytes.empty()) return true;
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int size = static_cast<int>(bytes.size());
  const std::size_t at = out.size();
  out.resize(at + bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data() + at, size);
  out.resize(at + static_cast<std::size_t>(std::max(length, 0)));
  return length > 0;
}

// Code page 936: 0x81 to 0xFE lead a two-byte character whose second byte is 0x40
// to 0x7E or 0x80 to 0xFE; every other byte, the euro sign 0x80 and 0xFF among
// them, stands alone. A lead byte without a proper second byte becomes U+FFFD and
// the byte after it is read afresh, as ICU does; the system's own handling differs
// between its versions (Wine swallows the second byte too), so it never sees one.
// `gb18030`: the bytes are GB18030, read as far as GBK reaches: its four-byte
// characters (lead, digit, lead, digit), none of which GBK holds, each become one
// U+FFFD, and so do the single bytes 0x80 and 0xFF, which GB18030 does not use.
std::wstring DecodeGbkBytes(std::string_view gbk, bool gb18030) {
  std::wstring out;
  out.reserve(gbk.size());
  const auto byte = [&gbk](std::size_t i) { return static_cast<unsigned char>(gbk[i]); };
  const auto digit = [&](std::size_t i) { return byte(i) >= 0x30 && byte(i) <= 0x39; };
  std::size_t run = 0;  // start of the well-formed bytes not yet decoded
  std::size_t i = 0;
  const auto flush = [&](std::size_t end) {
    AppendDecoded(kGbkCodePage, gbk.substr(run, end - run), out);
    run = end;
  };
  while (i < gbk.size()) {
    if (!IsGbkLead(byte(i)) && !(gb18030 && (byte(i) == 0x80 || byte(i) == 0xFF))) {
      ++i;
    } else if (IsGbkLead(byte(i)) && i + 1 < gbk.size() && IsGbkTrail(byte(i + 1))) {
      i += 2;
    } else if (gb18030 && IsGbkLead(byte(i)) && i + 3 < gbk.size() && digit(i + 1) &&
               IsGbkLead(byte(i + 2)) && digit(i + 3)) {
      flush(i);
      out.push_back(kReplacement);
      i += 4;
      run = i;
    } else {
      flush(i);
      out.push_back(kReplacement);
      run = ++i;
    }
    if (i - run >= kPiece) flush(i);
  }
  flush(gbk.size());
  return out;
}

// Invisible characters (Unicode's default-ignorable code points) that GBK lacks
// are dropped rather than written as "?", as ICU's converter drops them: a
// zero-width space in a product title leaves no mark in the folder name.
bool IsIgnorable(std::uint32_t c) {
  if (c < 0x10000) {
    return c == 0x00AD || c == 0x034F || c == 0x061C || c == 0x115F || c == 0x1160 || c == 0x17B4 ||
           c == 0x17B5 || (c >= 0x180B && c <= 0x180F) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0x3164 ||
           (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || c == 0xFFA0 ||
           (c >= 0xFFF0 && c <= 0xFFF8);
  }
  return (c >= 0x1BCA0 && c <= 0x1BCA3) || (c >= 0x1D173 && c <= 0x1D17A) ||
         (c >= 0xE0000 && c <= 0xE0FFF);
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// What the system is given to encode: a character outside the Basic Multilingual
// Plane (which GBK never holds) becomes one "?" instead of the system's two, an
// unpaired surrogate one "?", and the invisible characters go.
std::wstring PreparedForGbk(std::wstring_view wide) {
  std::wstring prepared;
  prepared.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (IsHighSurrogate(c) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
      const std::uint32_t code = 0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) +
                                 (static_cast<std::uint32_t>(wide[i + 1]) - 0xDC00);
      ++i;
      if (!IsIgnorable(code)) prepared.push_back(L'?');
    } else if (IsSurrogate(c)) {
      prepared.push_back(L'?');
    } else if (!IsIgnorable(c)) {
      prepared.push_back(c);
    }
  }
  return prepared;
}

bool NeedsPreparing(std::wstring_view wide) {
  return std::any_of(wide.begin(), wide.end(),
                     [](wchar_t c) { return IsSurrogate(c) || IsIgnorable(c); });
}

Text EncodeGbk(std::wstring_view wide) {
  // No best fit: a character GBK lacks is "?", never a look-alike ("ü" stays "?"
  // rather than becoming "u"), as with ICU.
  constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
  Text out;
  while (!wide.empty()) {
    std::size_t take = std::min(wide.size(), kPiece);
    if (take < wide.size() && IsHighSurrogate(wide[take - 1])) --take;
    // At most two bytes a unit.
    const std::size_t at = out.size();
    out.resize(at + 2 * take);
    const int length =
        WideCharToMultiByte(kGbkCodePage, kFlags, wide.data(), static_cast<int>(take),
                            out.data() + at, static_cast<int>(2 * take), "?", nullptr);
    out.resize(at + static_cast<std::size_t>(std::max(length, 0)));
    if (length <= 0) break;
    wide.remove_prefix(take);
  }
  return out;
}

// Writes one code point as UTF-8 at `out` and returns the position after it.
char* PutUtf8(std::uint32_t code, char* out) {
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | (code >> 6));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (code >> 12));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (code >> 18));
    *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

bool CodePageInstalled(UINT codePage) { return IsValidCodePage(codePage) != 0; }

}  // namespace

std::wstring GbkToWide(std::string_view gbk) { return DecodeGbkBytes(gbk, false); }

Text WideToGbk(std::wstring_view wide) {
  return NeedsPreparing(wide) ? EncodeGbk(PreparedForGbk(wide)) : EncodeGbk(wide);
}

// UTF-8 is decoded here rather than by the system, whose count of U+FFFD for a
// broken sequence has changed between versions: each maximal part of a sequence
// that cannot be completed is one U+FFFD, as Unicode recommends and ICU does.
std::wstring Utf8ToWide(std::string_view utf8) {
  // Never more units than bytes: a four-byte sequence gives two.
  std::wstring out(utf8.size(), L'\0');
  wchar_t* at = out.data();
  const std::size_t size = utf8.size();
  std::size_t i = 0;
  while (i < size) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      *at++ = static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    int needed = 0;
    std::uint32_t code = 0;
    unsigned char low = 0x80;  // the range of the next byte; the first one can be narrower
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      needed = 1;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      needed = 2;
      code = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      needed = 3;
      code = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      *at++ = kReplacement;
      ++i;
      continue;
    }
    std::size_t next = i + 1;
    int got = 0;
    while (got < needed && next < size) {
      const auto byte = static_cast<unsigned char>(utf8[next]);
      if (byte < low || byte > high) break;
      code = (code << 6) | (byte & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++next;
      ++got;
    }
    if (got < needed) {
      *at++ = kReplacement;
    } else if (code < 0x10000) {
      *at++ = static_cast<wchar_t>(code);
    } else {
      *at++ = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      *at++ = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
    i = next;
  }
  out.resize(static_cast<std::size_t>(at - out.data()));
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  // Written into a buffer of the largest possible size, then cut: pages of
  // megabytes pass here for every search.
  std::string out(wide.size() * 3, '\0');
  char* at = out.data();
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c < 0x80) {
      *at++ = static_cast<char>(c);
    } else if (IsHighSurrogate(c) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
      at = PutUtf8(0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) +
                       (static_cast<std::uint32_t>(wide[i + 1]) - 0xDC00),
                   at);
      ++i;
    } else {
      at = PutUtf8(IsSurrogate(c) ? kReplacement : static_cast<std::uint32_t>(c), at);
    }
  }
  out.resize(static_cast<std::size_t>(at - out.data()));
  return out;
}

bool WideFitsGbk(std::wstring_view wide) { return GbkToWide(WideToGbk(wide)) == wide; }

Text Utf8ToGbk(std::string_view utf8) { return WideToGbk(Utf8ToWide(utf8)); }

Text Utf16ToGbk(std::u16string_view utf16) {
  return WideToGbk(std::wstring(utf16.begin(), utf16.end()));
}

std::string GbkToUtf8(std::string_view gbk) { return WideToUtf8(GbkToWide(gbk)); }

bool IsValidUtf8(std::string_view bytes) {
  if (bytes.empty()) return true;
  // With MB_ERR_INVALID_CHARS the system refuses malformed sequences instead of
  // putting U+FFFD in their place.
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                             static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

std::u16string GbkToUtf16(std::string_view gbk) {
  const std::wstring wide = GbkToWide(gbk);
  return std::u16string(wide.begin(), wide.end());
}

bool CharsetToGbk(std::string_view bytes, const std::string& charset, Text& out) {
  const KnownCharset* known = LookUpCharset(charset);
  if (known == nullptr) return false;
  std::wstring wide;
  switch (known->codePage) {
    case kUtf8CodePage:
      wide = Utf8ToWide(bytes);
      break;
    case kGbkCodePage:
      wide = GbkToWide(bytes);
      break;
    case kGb18030CodePage:
      // Wine has no code page 54936. GB18030 is GBK extended: its one- and two-byte
      // characters are GBK's (bar a few that GBK keeps in its private-use area),
      // and its four-byte ones are all characters GBK lacks, which would become
      // "?" in the text anyway.
      if (!CodePageInstalled(kGb18030CodePage)) {
        wide = DecodeGbkBytes(bytes, true);
        break;
      }
      [[fallthrough]];
    default:
      if (!CodePageInstalled(known->codePage) || !AppendDecoded(known->codePage, bytes, wide)) {
        return false;
      }
  }
  out = WideToGbk(wide);
  return true;
}

}  // namespace tessaly
