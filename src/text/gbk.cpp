#include "text/gbk.h"

#include <memory>

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include "text/charset_names.h"

namespace tessaly {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Code page 936 as Windows defines it: GBK with the euro sign at 0x80.
constexpr char kGbkName[] = "windows-936";

Converter OpenConverter(const char* name) {
  UErrorCode error = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &error));
  if (U_FAILURE(error)) return nullptr;
  return converter;
}

// ICU converters are not thread-safe, but cheap to keep one per thread.
UConverter* GbkConverter() {
  thread_local Converter converter = [] {
    Converter opened = OpenConverter(kGbkName);
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setSubstChars(opened.get(), "?", 1, &error);
    return opened;
  }();
  return converter.get();
}

std::u16string ToUtf16(UConverter* converter, std::string_view bytes) {
  if (bytes.empty()) return {};
  ucnv_reset(converter);
  std::u16string out(bytes.size() + 1, u'\0');
  UErrorCode error = U_ZERO_ERROR;
  int32_t length = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                 bytes.data(), static_cast<int32_t>(bytes.size()), &error);
  if (error == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<std::size_t>(length) + 1, u'\0');
    error = U_ZERO_ERROR;
    ucnv_reset(converter);
    length = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                           static_cast<int32_t>(bytes.size()), &error);
  }
  if (U_FAILURE(error)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

Text FromUtf16(UConverter* converter, std::u16string_view utf16) {
  if (utf16.empty()) return {};
  ucnv_reset(converter);
  Text out(utf16.size() * 2 + 1, '\0');
  UErrorCode error = U_ZERO_ERROR;
  int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                   reinterpret_cast<const UChar*>(utf16.data()),
                                   static_cast<int32_t>(utf16.size()), &error);
  if (error == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<std::size_t>(length) + 1, '\0');
    error = U_ZERO_ERROR;
    ucnv_reset(converter);
    length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                             reinterpret_cast<const UChar*>(utf16.data()),
                             static_cast<int32_t>(utf16.size()), &error);
  }
  if (U_FAILURE(error)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  std::u16string out(utf8.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                       &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                       &error);
  if (U_FAILURE(error)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  if (utf16.empty()) return {};
  std::string out(utf16.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(utf16.data()),
                     static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &error);
  if (U_FAILURE(error)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace

Text Utf8ToGbk(std::string_view utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

Text Utf16ToGbk(std::u16string_view utf16) { return FromUtf16(GbkConverter(), utf16); }

std::string GbkToUtf8(std::string_view gbk) { return Utf16ToUtf8(GbkToUtf16(gbk)); }

std::u16string GbkToUtf16(std::string_view gbk) { return ToUtf16(GbkConverter(), gbk); }

bool IsValidUtf8(std::string_view bytes) {
  // Preflighting measures without writing; a malformed sequence is an error.
  UErrorCode error = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &error);
  return error == U_BUFFER_OVERFLOW_ERROR || error == U_STRING_NOT_TERMINATED_WARNING ||
         U_SUCCESS(error);
}

bool CharsetToGbk(std::string_view bytes, const std::string& charset, Text& out) {
  // The names that pages use are read as the Windows build reads them; ICU's own
  // aliases serve for the rest.
  const KnownCharset* known = LookUpCharset(charset);
  Converter source = OpenConverter(known != nullptr ? known->icuName : charset.c_str());
  if (!source) return false;
  out = Utf16ToGbk(ToUtf16(source.get(), bytes));
  return true;
}

}  // namespace tessaly
