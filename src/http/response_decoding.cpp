#include "http/response_decoding.h"

#include <string>
#include <string_view>

#include "text/desktop.h"
#include "text/gbk.h"
#include "text/pattern_matcher.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

constexpr char kDeclarationPattern[] = "<meta.+?charset=[^\\w]?([-\\w]+)";
constexpr int kDeclarationWindow = 1024;

// A UTF-8 byte order mark is the encoding's signature, not text; the decoder of the
// original platform dropped it as well.
std::string_view WithoutUtf8Signature(std::string_view bytes, const Text& charset) {
  if (CompareText(charset, "utf-8", false) == 0 && bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  return bytes;
}

}  // namespace

Text DecodeResponseText(const Bytes& body) {
  Text result = ToText(body);
  PatternMatcher matcher;
  if (!matcher.Search(kDeclarationPattern, TextLeft(result, kDeclarationWindow))) return result;
  const Text charset = matcher.SubMatchText(1, 1);
  if (!charset.empty() && CompareText(charset, "gbk") != 0 && CompareText(charset, "gb2312") != 0) {
    const std::string_view bytes(reinterpret_cast<const char*>(body.data()), body.size());
    Text decoded;
    if (CharsetToGbk(WithoutUtf8Signature(bytes, charset), charset, decoded)) {
      // The whole body is decoded, zero bytes and all; a text holds no zero byte, so
      // those characters go and the rest of the page stays.
      std::erase(decoded, '\0');
      result = std::move(decoded);
    }
  }
  ProcessEvents();
  return result;
}

}  // namespace tessaly
