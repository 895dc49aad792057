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

}  // namespace
}  // namespace tessaly
