#include "text/charset_names.h"

#include <cstddef>

namespace tessaly {
namespace {

constexpr KnownCharset kUtf8{65001, "UTF-8"};
constexpr KnownCharset kGbk{936, "windows-936"};
constexpr KnownCharset kGb18030{54936, "GB18030"};
constexpr KnownCharset kBig5{950, "windows-950"};
constexpr KnownCharset kShiftJis{932, "windows-31j"};
constexpr KnownCharset kEucJp{20932, "EUC-JP"};
constexpr KnownCharset kKorean{949, "windows-949"};
constexpr KnownCharset kThai{874, "windows-874"};
constexpr KnownCharset kWindows1250{1250, "windows-1250"};
constexpr KnownCharset kWindows1251{1251, "windows-1251"};
constexpr KnownCharset kWindows1252{1252, "windows-1252"};
constexpr KnownCharset kWindows1253{1253, "windows-1253"};
constexpr KnownCharset kWindows1254{1254, "windows-1254"};
constexpr KnownCharset kWindows1255{1255, "windows-1255"};
constexpr KnownCharset kWindows1256{1256, "windows-1256"};
constexpr KnownCharset kWindows1257{1257, "windows-1257"};
constexpr KnownCharset kWindows1258{1258, "windows-1258"};
constexpr KnownCharset kIso8859_2{28592, "ISO-8859-2"};
constexpr KnownCharset kIso8859_3{28593, "ISO-8859-3"};
constexpr KnownCharset kIso8859_4{28594, "ISO-8859-4"};
constexpr KnownCharset kIso8859_5{28595, "ISO-8859-5"};
constexpr KnownCharset kIso8859_6{28596, "ISO-8859-6"};
constexpr KnownCharset kIso8859_7{28597, "ISO-8859-7"};
constexpr KnownCharset kIso8859_8{28598, "ISO-8859-8"};
constexpr KnownCharset kIso8859_13{28603, "ISO-8859-13"};
constexpr KnownCharset kIso8859_15{28605, "ISO-8859-15"};
constexpr KnownCharset kKoi8R{20866, "KOI8-R"};
constexpr KnownCharset kKoi8U{21866, "KOI8-U"};
constexpr KnownCharset kIbm866{866, "ibm-866"};
constexpr KnownCharset kMacRoman{10000, "macintosh"};

struct Alias {
  const char* name;  // lower case
  const KnownCharset* charset;
};

constexpr Alias kAliases[] = {
    {"utf-8", &kUtf8},
    {"utf8", &kUtf8},
    {"unicode-1-1-utf-8", &kUtf8},
    {"unicode-2-0-utf-8", &kUtf8},
    {"x-unicode20utf8", &kUtf8},
    {"utf-16", &kUtf8},
    {"utf-16le", &kUtf8},
    {"utf-16be", &kUtf8},
    {"unicode", &kUtf8},
    {"unicodefffe", &kUtf8},
    {"ucs-2", &kUtf8},
    {"iso-10646-ucs-2", &kUtf8},

    {"gbk", &kGbk},
    {"gb2312", &kGbk},
    {"x-gbk", &kGbk},
    {"cp936", &kGbk},
    {"ms936", &kGbk},
    {"windows-936", &kGbk},
    {"euc-cn", &kGbk},
    {"x-euc-cn", &kGbk},
    {"csgb2312", &kGbk},
    {"gb_2312", &kGbk},
    {"gb_2312-80", &kGbk},
    {"iso-ir-58", &kGbk},
    {"csiso58gb231280", &kGbk},
    {"chinese", &kGbk},
    {"cn-gb", &kGbk},
    {"gb18030", &kGb18030},

    {"big5", &kBig5},
    {"big-5", &kBig5},
    {"cn-big5", &kBig5},
    {"x-x-big5", &kBig5},
    {"csbig5", &kBig5},
    {"cp950", &kBig5},
    {"ms950", &kBig5},
    {"windows-950", &kBig5},

    {"shift_jis", &kShiftJis},
    {"shift-jis", &kShiftJis},
    {"sjis", &kShiftJis},
    {"x-sjis", &kShiftJis},
    {"ms_kanji", &kShiftJis},
    {"csshiftjis", &kShiftJis},
    {"windows-31j", &kShiftJis},
    {"cswindows31j", &kShiftJis},
    {"cp932", &kShiftJis},
    {"ms932", &kShiftJis},
    {"windows-932", &kShiftJis},
    {"euc-jp", &kEucJp},
    {"x-euc-jp", &kEucJp},
    {"cseucpkdfmtjapanese", &kEucJp},

    {"euc-kr", &kKorean},
    {"cseuckr", &kKorean},
    {"ks_c_5601-1987", &kKorean},
    {"ks_c_5601-1989", &kKorean},
    {"ks_c_5601", &kKorean},
    {"ksc5601", &kKorean},
    {"ksc_5601", &kKorean},
    {"korean", &kKorean},
    {"iso-ir-149", &kKorean},
    {"csksc56011987", &kKorean},
    {"cp949", &kKorean},
    {"windows-949", &kKorean},
    {"uhc", &kKorean},

    {"windows-874", &kThai},
    {"cp874", &kThai},
    {"dos-874", &kThai},
    {"tis-620", &kThai},
    {"iso-8859-11", &kThai},

    {"iso-8859-1", &kWindows1252},
    {"iso8859-1", &kWindows1252},
    {"iso_8859-1", &kWindows1252},
    {"iso_8859-1:1987", &kWindows1252},
    {"latin1", &kWindows1252},
    {"l1", &kWindows1252},
    {"cp819", &kWindows1252},
    {"ibm819", &kWindows1252},
    {"csisolatin1", &kWindows1252},
    {"iso-ir-100", &kWindows1252},
    {"us-ascii", &kWindows1252},
    {"ascii", &kWindows1252},
    {"us", &kWindows1252},
    {"iso-ir-6", &kWindows1252},
    {"ansi_x3.4-1968", &kWindows1252},
    {"cp367", &kWindows1252},
    {"ibm367", &kWindows1252},
    {"csascii", &kWindows1252},
    {"windows-1252", &kWindows1252},
    {"cp1252", &kWindows1252},
    {"x-cp1252", &kWindows1252},

    {"windows-1250", &kWindows1250},
    {"cp1250", &kWindows1250},
    {"x-cp1250", &kWindows1250},
    {"windows-1251", &kWindows1251},
    {"cp1251", &kWindows1251},
    {"x-cp1251", &kWindows1251},
    {"windows-1253", &kWindows1253},
    {"cp1253", &kWindows1253},
    {"windows-1254", &kWindows1254},
    {"cp1254", &kWindows1254},
    {"iso-8859-9", &kWindows1254},
    {"iso8859-9", &kWindows1254},
    {"latin5", &kWindows1254},
    {"windows-1255", &kWindows1255},
    {"cp1255", &kWindows1255},
    {"windows-1256", &kWindows1256},
    {"cp1256", &kWindows1256},
    {"windows-1257", &kWindows1257},
    {"cp1257", &kWindows1257},
    {"windows-1258", &kWindows1258},
    {"cp1258", &kWindows1258},

    {"iso-8859-2", &kIso8859_2},
    {"iso8859-2", &kIso8859_2},
    {"latin2", &kIso8859_2},
    {"l2", &kIso8859_2},
    {"iso-8859-3", &kIso8859_3},
    {"latin3", &kIso8859_3},
    {"iso-8859-4", &kIso8859_4},
    {"latin4", &kIso8859_4},
    {"iso-8859-5", &kIso8859_5},
    {"iso8859-5", &kIso8859_5},
    {"cyrillic", &kIso8859_5},
    {"iso-8859-6", &kIso8859_6},
    {"arabic", &kIso8859_6},
    {"iso-8859-7", &kIso8859_7},
    {"greek", &kIso8859_7},
    {"iso-8859-8", &kIso8859_8},
    {"hebrew", &kIso8859_8},
    {"iso-8859-13", &kIso8859_13},
    {"iso-8859-15", &kIso8859_15},
    {"iso8859-15", &kIso8859_15},
    {"latin9", &kIso8859_15},
    {"l9", &kIso8859_15},

    {"koi8-r", &kKoi8R},
    {"koi8", &kKoi8R},
    {"koi", &kKoi8R},
    {"cskoi8r", &kKoi8R},
    {"koi8-u", &kKoi8U},
    {"koi8-ru", &kKoi8U},
    {"ibm866", &kIbm866},
    {"cp866", &kIbm866},
    {"866", &kIbm866},
    {"csibm866", &kIbm866},
    {"macintosh", &kMacRoman},
    {"mac", &kMacRoman},
    {"x-mac-roman", &kMacRoman},
    {"csmacintosh", &kMacRoman},
};

bool EqualIgnoringAsciiCase(std::string_view a, const char* lower) {
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower[i] == '\0' || c != lower[i]) return false;
  }
  return lower[i] == '\0';
}

}  // namespace

const KnownCharset* LookUpCharset(std::string_view declared) {
  for (const Alias& alias : kAliases) {
    if (EqualIgnoringAsciiCase(declared, alias.name)) return alias.charset;
  }
  return nullptr;
}

}  // namespace tessaly
