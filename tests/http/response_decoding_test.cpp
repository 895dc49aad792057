#include "http/response_decoding.h"

#include <gtest/gtest.h>

#include <string>

#include "text/gbk.h"

namespace tessaly {
namespace {

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(DecodeResponseTextTest, Utf8PageIsDecodedIntoGbk) {
  const std::string page = "<meta charset='utf-8'>\n<title>中文标题</title>";  // UTF-8 source
  EXPECT_EQ(DecodeResponseText(AsBytes(page)),
            "<meta charset='utf-8'>\n<title>中文标题</title>"_gbk);
}

TEST(DecodeResponseTextTest, GbkDeclarationsLeaveTheBytesAlone) {
  for (const char* name : {"gbk", "gb2312"}) {
    const Text page = "<meta charset=" + std::string(name) + ">" + "价格"_gbk;
    EXPECT_EQ(DecodeResponseText(AsBytes(page)), page) << name;
  }
}

TEST(DecodeResponseTextTest, CapitalGbkGoesThroughTheConverterUnchanged) {
  const Text page = "<meta charset=GBK>"_gbk + "价格"_gbk;
  EXPECT_EQ(DecodeResponseText(AsBytes(page)), page);
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

TEST(DecodeResponseTextTest, ZeroByteEndsThePlainTextButNotTheRedecodedOne) {
  Bytes gbkPage = AsBytes("<meta charset=gbk>ab");
  gbkPage.push_back(0);
  gbkPage.push_back('c');
  EXPECT_EQ(DecodeResponseText(gbkPage), "<meta charset=gbk>ab");

  Bytes utf8Page = AsBytes("<meta charset=utf-8>ab");
  utf8Page.push_back(0);
  for (char c : std::string("中")) utf8Page.push_back(static_cast<std::uint8_t>(c));
  EXPECT_EQ(DecodeResponseText(utf8Page), "<meta charset=utf-8>ab中"_gbk);
}

TEST(DecodeResponseTextTest, MissingCharactersBecomeQuestionMarksAndSignatureGoes) {
  const std::string page = "\xEF\xBB\xBF<meta charset=\"utf-8\">\xF0\x9F\x98\x80!";  // U+1F600
  EXPECT_EQ(DecodeResponseText(AsBytes(page)), "<meta charset=\"utf-8\">?!");
}

TEST(DecodeResponseTextTest, EmptyBodyGivesEmptyText) {
  EXPECT_EQ(DecodeResponseText({}), "");
}

}  // namespace
}  // namespace tessaly
