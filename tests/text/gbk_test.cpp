#include "text/gbk.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

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

// GB18030 is GBK extended: its one- and two-byte characters read as GBK's, and its
// four-byte ones, which GBK lacks, become "?" in the page's text either way.
TEST(GbkTest, Gb18030PagesReadAsFarAsGbkReaches) {
  const struct {
    std::string bytes;
    std::string gbk;
  } cases[] = {
      {"\xD6\xD0\xCE\xC4 abc", "\xD6\xD0\xCE\xC4 abc"},  // 中文 abc
      {"a\x95\x32\x82\x36z", "a?z"},                   // U+20000, four bytes
      {"\x81\x30\x81\x30", "?"},                       // U+0080, four bytes
  };
  for (const auto& c : cases) {
    Text out;
    ASSERT_TRUE(CharsetToGbk(c.bytes, "GB18030", out)) << c.bytes;
    EXPECT_EQ(out, c.gbk) << c.bytes;
  }
}

// The few two-byte characters that GB18030 gives a standard code point and GBK
// keeps in its private-use area: the euro sign at A2 E3 among them.
TEST(GbkTest, Gb18030EuroSignBecomesGbksEuroSign) {
#ifdef _WIN32
  if (!IsValidCodePage(54936)) {
    GTEST_SKIP() << "this system has no code page 54936 (Wine 8 has none): GB18030 is read "
                    "as GBK, where A2 E3 is a private-use character";
  }
#endif
  Text out;
  ASSERT_TRUE(CharsetToGbk("\xA2\xE3", "gb18030", out));
  EXPECT_EQ(out, "\x80");
}

}  // namespace
}  // namespace tessaly
