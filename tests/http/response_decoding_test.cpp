#include "http/response_decoding.h"

#include <string>

#include <gtest/gtest.h>

#include "text/gbk.h"

namespace tessaly {
namespace {

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(DecodeResponseTextTest, Utf8PageIsDecodedIntoGbk) {
  const std::string page = "<meta charset='utf-8'>\n<title>中文标题</title>";  // UTF-8 source
  EXPECT_EQ(DecodeResponseText(AsBytes(page)),
            "<meta charset='utf-8'>\n<title>中文标题</title>"_gbk);
}

// A zero byte shows which way a page went: the plain text ends before it, while a
// re-decoded page covers the whole body (the zero itself cannot stay in a text).
TEST(DecodeResponseTextTest, OnlyExactLowerCaseGbkNamesKeepThePlainText) {
  const struct {
    const char* charset;
    bool redecoded;
  } cases[] = {{"gbk", false}, {"gb2312", false}, {"GBK", true}, {"GB2312", true}};
  for (const auto& c : cases) {
    const Text head = "<meta charset=" + std::string(c.charset) + ">" + "价"_gbk;
    Bytes page = AsBytes(head);
    page.push_back(0);
    page.push_back('z');
    EXPECT_EQ(DecodeResponseText(page), c.redecoded ? head + "z" : head) << c.charset;
  }
}

TEST(DecodeResponseTextTest, RedecodedPageCoversTheWholeBody) {
  Bytes page = AsBytes("<meta charset=utf-8>ab");
  page.push_back(0);
  for (char c : std::string("中")) page.push_back(static_cast<std::uint8_t>(c));
  EXPECT_EQ(DecodeResponseText(page), "<meta charset=utf-8>ab中"_gbk);
}

TEST(DecodeResponseTextTest, DeclarationMatchIgnoresCase) {
  const std::string page =
      "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; CHARSET=UTF-8'>货号";
  EXPECT_EQ(DecodeResponseText(AsBytes(page)),
            "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; CHARSET=UTF-8'>货号"_gbk);
}

TEST(DecodeResponseTextTest, DeclarationAfterTheFirst1024BytesIsIgnored) {
  const std::string page = std::string(1100, ' ') + "<meta charset=utf-8>\xE4\xB8\xAD";
  EXPECT_EQ(DecodeResponseText(AsBytes(page)), page);
}

TEST(DecodeResponseTextTest, UnknownCharsetLeavesThePlainText) {
  const std::string page = "<meta charset=no-such-set>abc";
  EXPECT_EQ(DecodeResponseText(AsBytes(page)), page);
}

TEST(DecodeResponseTextTest, MissingCharactersBecomeQuestionMarksAndSignatureGoes) {
  const std::string page = "\xEF\xBB\xBF<meta charset=\"utf-8\">\xF0\x9F\x98\x80!";  // U+1F600
  EXPECT_EQ(DecodeResponseText(AsBytes(page)), "<meta charset=\"utf-8\">?!");
}

TEST(DecodeResponseTextTest, EmptyBodyGivesEmptyText) { EXPECT_EQ(DecodeResponseText({}), ""); }

}  // namespace
}  // namespace tessaly
