#include "collect/safe_name.h"

#include <string>

#include <gtest/gtest.h>

#include "collect/sanitize_name.h"
#include "text/file_primitives.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

struct NameCase {
  std::string input;     // UTF-8, or raw GBK bytes when marked
  std::string expected;  // UTF-8
};

TEST(SanitizeNameTest, ReplacesTheFiveForbiddenCharactersOnly) {
  const NameCase cases[] = {
      {"a/b\\c*d|e?f", "a_b_c_d_e_f"},
      {"黑/白", "黑_白"},
      {"//??", "____"},
      // Left alone: other characters Windows refuses, spaces and trailing dots.
      {" a:b<c>\"d. ", " a:b<c>\"d. "},
      {"", ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(GbkToUtf8(SanitizeName(Utf8ToGbk(c.input))), c.expected) << c.input;
  }
}

TEST(SanitizeNameTest, NeverTakesTheSecondByteOfACharacterForABackslashOrBar) {
  // 乗 is 0x81 0x5C and 亅 is 0x81 0x7C in GBK.
  const Text name = "乗亅\\"_gbk;
  ASSERT_EQ(name, "\x81\x5C\x81\x7C\\");
  EXPECT_EQ(SanitizeName(name), "\x81\x5C\x81\x7C_");
}

TEST(SafeNameTest, KeepsOrdinaryNamesAndReplacesThoseThatNameAFolderItself) {
  const struct {
    std::string input;   // UTF-8
    std::string suffix;  // appended when the name is written
    std::string expected;
  } cases[] = {
      {"", "", ""},
      {"红色", "", "红色"},
      {"a.b", "", "a.b"},
      {".hidden", "", ".hidden"},
#ifdef _WIN32
      // Windows would cut trailing dots and spaces off a folder name.
      {"ends with dot.", "", "ends with dot_"},
      {"   ", "", "___"},
#else
      {"ends with dot.", "", "ends with dot."},
      {"   ", "", "   "},
#endif
      {".", "", "_"},
      {"..", "", "_"},
      {"...", "", "_"},
      {". .", "", "_"},
      {" .. ", "", "_"},
      // With a suffix the name as written is a file of its own: "..jpg", "...jpg"
      // and "_.jpg" stay three files.
      {".", ".jpg", "."},
      {"..", ".jpg", ".."},
      {"_", ".jpg", "_"},
      {". .", ".txt", ". ."},
      {"", ".txt", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GbkToUtf8(SafeName(Utf8ToGbk(c.input), c.suffix)), c.expected)
        << "'" << c.input << "' + '" << c.suffix << "'";
  }
}

TEST(SafeNameTest, NeverLetsASeparatorOrAZeroByteThrough) {
  EXPECT_EQ(SafeName(std::string("a/../b\0c", 8)), "a_.._b_c");
  EXPECT_EQ(SafeName(std::string("\0", 1)), "_");
}

TEST(SafeNameTest, ShortensLongNamesAtACharacterBoundaryWithinTheSuffixBudget) {
  // 100 Chinese characters: 200 bytes of GBK, 300 of UTF-8.
  Text chinese;
  for (int i = 0; i < 100; ++i) chinese += "款"_gbk;
  const Text shortened = SafeName(chinese, ".jpg");
  EXPECT_EQ(shortened.size() % 2, 0u);                     // whole characters only
  EXPECT_EQ(NativePath(shortened + ".jpg").size(), 253u);  // 83 characters and ".jpg"
  EXPECT_EQ(chinese.compare(0, shortened.size(), shortened), 0);

  const Text folder = SafeName(chinese);
  EXPECT_EQ(NativePath(folder).size(), 255u);  // 85 characters

  // Mixed widths: the cut falls between characters, never inside one.
  EXPECT_EQ(SafeName(Text(250, 'a') + "款款"_gbk), Text(250, 'a') + "款"_gbk);
  EXPECT_EQ(SafeName(Text(253, 'a') + "款款"_gbk), Text(253, 'a'));
  EXPECT_EQ(SafeName(Text(255, 'a')), Text(255, 'a'));
  EXPECT_EQ(SafeName(Text(256, 'a'), ".txt"), Text(251, 'a'));
}

TEST(SafeNameTest, ALongRunOfDotsIsStillReplacedAfterShortening) {
  EXPECT_EQ(SafeName(Text(300, '.')), "_");
  EXPECT_EQ(SafeName(Text(300, '.'), ".jpg"), Text(251, '.'));
}

// The euro sign is one GBK byte (0x80) but three in UTF-8; it is a character of
// its own, so a cut may fall right after it.
TEST(SafeNameTest, CutsRightAfterAOneByteCharacter) {
  const Text name = Text(252, 'a') + "€"_gbk + "bc";
  ASSERT_EQ(name.size(), 255u);
  EXPECT_EQ(SafeName(name), Text(252, 'a') + "\x80");
  EXPECT_EQ(NativePath(SafeName(name)).size(), 255u);
}

TEST(WindowsSafeNameTest, NamesWindowsWouldRefuseOrReadAsDevicesStayFilesOfTheirOwn) {
  const struct {
    std::string input;  // UTF-8
    std::string suffix;
    std::string expected;
  } cases[] = {
      {"红色", ".jpg", "红色"},
      {"a:b<c>d\"e", ".jpg", "a_b_c_d_e"},
      {"tab\there", "", "tab_here"},
      {"ends with dot.", "", "ends with dot_"},
      {"dots and space. .", "", "dots and space___"},
      {"dot.", ".jpg", "dot."},  // "dot..jpg" ends in "g"
      {"CON", "", "_CON"},
      {"con", ".jpg", "_con"},
      {"Nul.tar", ".txt", "_Nul.tar"},
      {"COM1", ".jpg", "_COM1"},
      {"lpt9 ", ".jpg", "_lpt9 "},
      {"COM0", ".jpg", "COM0"},
      {"CONSOLE", ".jpg", "CONSOLE"},
      {"AUX_", "", "AUX_"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GbkToUtf8(WindowsSafeName(Utf8ToGbk(c.input), c.suffix)), c.expected)
        << "'" << c.input << "' + '" << c.suffix << "'";
  }
}

TEST(WindowsSafeNameTest, NeverTouchesTheSecondByteOfACharacter) {
  // Second bytes of GBK characters lie in 0x40 to 0xFE, above every byte the rule
  // replaces.
  const Text name = "乗亅款"_gbk;
  EXPECT_EQ(WindowsSafeName(name), name);
}

}  // namespace
}  // namespace tessaly
