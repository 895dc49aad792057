#include "http/request_headers.h"

#include "text/text_primitives.h"

namespace tessaly {
namespace {

constexpr int kPost = 1;

void AddUnlessPresent(Text& block, const Text& sought, bool ignoreCase, const Text& line) {
  if (FindText(block, sought, 1, ignoreCase) == -1) block += line;
}

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
  if (cookies != nullptr && !cookies->empty()) {
    AddUnlessPresent(block, "Cookie: ", true, "Cookie: " + *cookies + "\r\n");
  }
  return block;
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
    // Any line break ends a line: a lone CR or LF (a cookie value pasted with a
    // line break, say) must not reach the wire inside a header.
    std::size_t end = block.find_first_of("\r\n", from);
    if (end == Text::npos) end = block.size();
    const Text line = block.substr(from, end - from);
    from = end + 1;
    if (line.find_first_not_of(" \t") == Text::npos) continue;
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
