#include "http/request_headers.h"

#include "text/text_primitives.h"

namespace tessaly {
namespace {

constexpr int kPost = 1;

void AddUnlessPresent(Text& block, const Text& sought, bool ignoreCase, const Text& line) {
  if (FindText(block, sought, 1, ignoreCase) == -1) block += line;
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// These bytes are all below 0x40, so none of them is ever the second byte of a GBK
// character: a byte scan cannot cut one.
bool IsNextToSeparator(char c) { return IsBlank(c) || c == ';'; }

}  // namespace

Text ComposeHeaderBlock(const Text& extraHeaders, int method, const Text* cookies) {
  Text block = extraHeaders.empty() ? Text() : extraHeaders + "\r\n";
  AddUnlessPresent(block, "User-Agent: ", true,
                   "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
                   "Trident/5.0)\r\n");
  AddUnlessPresent(block, "Accept: ", true, "Accept: text/html, application/xhtml+xml, */*\r\n");
  AddUnlessPresent(block, "Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312\r\n");
  AddUnlessPresent(block, "Accept-Language: ", true, "Accept-Language: zh-cn\r\n");
  if (method == kPost) {
    AddUnlessPresent(block, "Content-Type:", false,
                     "Content-Type: application/x-www-form-urlencoded\r\n");
  }
  AddUnlessPresent(block, "Cache-Control: ", true, "Cache-Control: no-cache\r\n");
  const Text cookieValue = cookies != nullptr ? CookieLineValue(*cookies) : Text();
  if (!cookieValue.empty()) {
    AddUnlessPresent(block, "Cookie: ", true, "Cookie: " + cookieValue + "\r\n");
  }
  return block;
}

Text CookieLineValue(const Text& cookies) {
  Text value;
  std::size_t from = 0;
  while (from < cookies.size()) {
    const std::size_t lineBreak = cookies.find_first_of("\r\n", from);
    if (lineBreak == Text::npos) {
      value.append(cookies, from);
      break;
    }
    std::size_t start = lineBreak;
    while (start > from && IsNextToSeparator(cookies[start - 1])) --start;
    std::size_t end = lineBreak;
    while (end < cookies.size() && (IsLineBreak(cookies[end]) || IsNextToSeparator(cookies[end])))
      ++end;
    value.append(cookies, from, start - from);
    if (!value.empty() && end < cookies.size()) value += "; ";
    from = end;
  }
  const std::size_t first = value.find_first_not_of(" \t");
  if (first == Text::npos) return {};
  return value.substr(first, value.find_last_not_of(" \t") + 1 - first);
}

Text HeaderName(const Text& line) {
  const int colon = FindText(line, ":");
  if (colon == -1) return {};
  return TrimSpaces(TextLeft(line, colon - 1));
}

bool HeaderBlockLines(const Text& block, std::vector<Text>& lines) {
  lines.clear();
  std::vector<Text> names;
  std::size_t from = 0;
  while (from < block.size()) {
    std::size_t end = block.find("\r\n", from);
    if (end == Text::npos) end = block.size();
    const Text line = block.substr(from, end - from);
    from = end + 2;
    // A lone CR or LF would end the header early on the wire and start another one.
    if (line.find_first_of("\r\n") != Text::npos) return false;
    if (line.find_first_not_of(" \t") == Text::npos) continue;
    // A line that starts with a blank continues the line before it on the wire.
    if (IsBlank(line.front())) return false;
    const Text name = HeaderName(line);
    if (name.empty()) return false;
    bool replaced = false;
    for (std::size_t i = 0; i < names.size() && !replaced; ++i) {
      if (CompareText(names[i], name, false) == 0) {
        lines[i] = line;
        replaced = true;
      }
    }
    if (!replaced) {
      names.push_back(name);
      lines.push_back(line);
    }
  }
  return true;
}

}  // namespace tessaly
