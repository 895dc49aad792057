#include "text/gbk.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(GbkTest, ConvertsBetweenUtf8AndGbk) {
  struct Case {
    std::string utf8;
    std::string gbk;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"阿里巴巴", "\xB0\xA2\xC0\xEF\xB0\xCD\xB0\xCD"},
      {"#引号", "#\xD2\xFD\xBA\xC5"},
      {"全角：，", "\xC8\xAB\xBD\xC7\xA3\xBA\xA3\xAC"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.utf8;
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16(c.gbk)), c.gbk) << c.utf8;
  }
}

TEST(GbkTest, CharactersGbkLacksBecomeAQuestionMarkAndTheRestStays) {
  EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
}

TEST(GbkTest, InvalidGbkBecomesTheReplacementCharacter) {
  // A lead byte with nothing after it; the text around it survives.
  EXPECT_EQ(GbkToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8("\x81 b").back(), 'b');
}

TEST(GbkTest, DecodesDeclaredCharsetsInAnyCase) {
  Text out = "untouched";
  EXPECT_TRUE(CharsetToGbk("\xE4\xB8\xAD", "UTF-8", out));
  EXPECT_EQ(out, "\xD6\xD0");  // 中
  EXPECT_TRUE(CharsetToGbk("\xD6\xD0", "gb2312", out));
  EXPECT_EQ(out, "\xD6\xD0");
  out = "untouched";
  EXPECT_FALSE(CharsetToGbk("abc", "no-such-charset", out));
  EXPECT_EQ(out, "untouched");
}

// Links files are read as UTF-8 when they are, else as GBK; both builds must
// draw the line in the same place.
TEST(GbkTest, TellsWellFormedUtf8FromEverythingElse) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"610000000001.html", true},
      {"\xEF\xBB\xBF\xE9\x93\xBE\xE6\x8E\xA5", true},  // byte-order mark, 链接
      {"\xF0\x9F\x98\x80", true},                    // outside the BMP
      {"\xC1\xB4\xBD\xD3", false},                    // 链接 in GBK
      {"abc\x80", false},                                // stray continuation byte
      {"\xE9\x93", false},                              // cut-off sequence
      {"\xC0\xAF", false},                              // overlong "/"
      {"\xED\xA0\x80", false},                          // a surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

}  // namespace
}  // namespace tessaly
