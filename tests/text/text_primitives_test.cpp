#include "text/text_primitives.h"

#include <climits>
#include <random>

#include <gtest/gtest.h>

#include "text/gbk.h"

namespace tessaly {
namespace {

// GBK bytes used below: 啊 = B0 A1, “ = A1 B0, full-width space = A1 A1,
// 丂 = 81 40, a character whose second byte is "A" = 81 41.
const Text kAh = "\xB0\xA1";
const Text kOpenQuote = "\xA1\xB0";
const Text kWideSpace = "\xA1\xA1";

struct FindCase {
  const char* name;
  Text text;
  Text sought;
  int start;
  bool ignore_case;
  int expected;
};

TEST(FindTextTest, Table) {
  const FindCase cases[] = {
      {"marker at the very start", "货号:123"_gbk, "货号:"_gbk, 1, false, 1},
      {"missing marker", "货号:123"_gbk, "价格"_gbk, 1, false, -1},
      {"start beyond the end", "abc", "c", 4, false, -1},
      {"start far beyond the end", "abc", "c", INT_MAX, false, -1},
      {"start zero searches from the beginning", "abc", "a", 0, false, 1},
      {"negative start searches from the beginning", "abc", "a", -7, false, 1},
      {"start skips an earlier match", "abcabc", "b", 3, false, 5},
      {"empty text", "", "a", 1, false, -1},
      {"sought longer than the text", "ab", "abc", 1, false, -1},
      {"empty sought gives 1, not start", "abc", "", 3, false, 1},
      {"empty sought past the end", "abc", "", 4, false, -1},
      // The second-byte trap: a naive byte search reports the wrong position.
      {"second byte of 81 41 is not an A", "\x81\x41", "A", 1, false, -1},
      {"the A after the character",
       "\x81\x41"
       "A",
       "A", 1, false, 3},
      {"pair across two characters", kAh + kAh, kOpenQuote, 1, false, -1},
      {"same bytes later on a character start", kAh + kOpenQuote, kOpenQuote, 1, false, 3},
      {"full-width space after a character ending in A1", kAh + kWideSpace + "\xA1", kWideSpace, 1,
       false, 3},
      {"start is taken as a character start", kAh + kAh, kOpenQuote, 2, false, 2},
      {"lone lead byte at the end", "a\xB0", "\xB0", 1, false, 2},
      {"ignore case finds capitals", "SET-COOKIE: a=1", "Set-Cookie:", 1, true, 1},
      {"exact case does not", "SET-COOKIE: a=1", "Set-Cookie:", 1, false, -1},
      {"ignore case, later occurrence", "x set-cookie: Set-Cookie:", "SET-COOKIE:", 5, true, 15},
      {"overlapping partial match", "aaaaab", "aaab", 1, false, 3},
      {"overlapping partial match, folded", "AbAbAbC", "ababc", 1, true, 3},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignore_case), c.expected) << c.name;
  }
}

TEST(TextCutTest, LeftRightMid) {
  const Text text = "abcdef";
  EXPECT_EQ(TextLeft(text, 2), "ab");
  EXPECT_EQ(TextLeft(text, 0), "");
  EXPECT_EQ(TextLeft(text, -3), "");
  EXPECT_EQ(TextLeft(text, INT_MAX), text);
  EXPECT_EQ(TextRight(text, 2), "ef");
  EXPECT_EQ(TextRight(text, -1), "");
  EXPECT_EQ(TextRight(text, 100), text);
  EXPECT_EQ(TextMid(text, 2, 3), "bcd");
  EXPECT_EQ(TextMid(text, 5, INT_MAX), "ef");
  EXPECT_EQ(TextMid(text, INT_MAX, INT_MAX), "");
  EXPECT_EQ(TextMid(text, 3, 0), "");
  EXPECT_EQ(TextMid(text, 3, -2), "");
  EXPECT_EQ(TextMid(text, 7, 1), "");  // one beyond the length
  EXPECT_EQ(TextMid(text, 0, 2), "");
  EXPECT_EQ(TextMid("", 1, 1), "");
  // Byte counts may cut a two-byte character.
  EXPECT_EQ(TextLeft(kAh, 1), "\xB0");
}

struct ReplaceCase {
  const char* name;
  Text text;
  Text sought;
  Text replacement;
  int start;
  int count;
  bool case_sensitive;
  Text expected;
};

TEST(ReplaceTextTest, Table) {
  const ReplaceCase cases[] = {
      {"suffix removed from an id", "123456789012.html", ".html", "", 1, kAllOccurrences, false,
       "123456789012"},
      {"replacement is not scanned again", "aXa", "a", "aa", 1, kAllOccurrences, false, "aaXaa"},
      {"default folds case", "id.HTML", ".html", "", 1, kAllOccurrences, false, "id"},
      {"case-sensitive keeps other case", "id.HTML", ".html", "", 1, kAllOccurrences, true,
       "id.HTML"},
      {"second-byte trap", kAh + kAh, kOpenQuote, "X", 1, kAllOccurrences, true, kAh + kAh},
      {"on a character start", kAh + kOpenQuote, kOpenQuote, "X", 1, kAllOccurrences, true,
       kAh + "X"},
      {"bytes before start copied", "a-a-a", "a", "b", 2, kAllOccurrences, false, "a-b-b"},
      {"count limits replacements", "a-a-a", "a", "b", 1, 2, false, "b-b-a"},
      {"count zero", "a-a-a", "a", "b", 1, 0, false, "a-a-a"},
      {"start beyond the end", "a-a-a", "a", "b", 6, kAllOccurrences, false, "a-a-a"},
      {"start below 1", "a-a", "a", "b", -4, kAllOccurrences, false, "b-b"},
      {"empty sought", "abc", "", "x", 1, kAllOccurrences, false, "abc"},
      {"empty text", "", "a", "x", 1, kAllOccurrences, false, ""},
      {"tail shorter than sought", "abab", "bab", "", 3, kAllOccurrences, false, "abab"},
      {"quote marker", "og:title#引号 content=#引号"_gbk, "#引号"_gbk, "\"", 1, kAllOccurrences,
       true, "og:title\" content=\""},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.case_sensitive),
              c.expected)
        << c.name;
  }
}

struct SplitCase {
  const char* name;
  Text text;
  Text delimiter;
  int maximum;
  TextArray expected;
};

TEST(SplitTextTest, Table) {
  const SplitCase cases[] = {
      {"trailing delimiter gives no empty part", "a\r\nb\r\n", "\r\n", kNoLimit, {"a", "b"}},
      {"two delimiters in a row", "a,,b", ",", kNoLimit, {"a", "", "b"}},
      {"leading delimiter", ",a", ",", kNoLimit, {"", "a"}},
      {"delimiter only", ",", ",", kNoLimit, {""}},
      {"no delimiter", "abc", ",", kNoLimit, {"abc"}},
      {"maximum drops the rest", "a,b,c", ",", 2, {"a", "b"}},
      {"maximum zero", "a,b", ",", 0, {}},
      {"negative maximum", "a,b", ",", -1, {}},
      {"empty delimiter", "a,b", "", kNoLimit, {"a,b"}},
      {"empty text", "", ",", kNoLimit, {}},
      {"second-byte trap", kAh + kAh, kOpenQuote, kNoLimit, {kAh + kAh}},
      {"two-byte delimiter", kAh + "|" + kAh, "|", kNoLimit, {kAh, kAh}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.maximum), c.expected) << c.name;
  }
  EXPECT_EQ(SplitText("a,b"), (TextArray{"a", "b"}));
}

TEST(SpacesTest, TrimAndRemove) {
  EXPECT_EQ(TrimSpaces(" " + kWideSpace + "abc " + kWideSpace + " "), "abc");
  EXPECT_EQ(TrimSpaces("\tabc\n"), "\tabc\n");
  EXPECT_EQ(TrimSpaces(" \tabc\n "), "\tabc\n");
  EXPECT_EQ(TrimSpaces("a b"), "a b");
  EXPECT_EQ(TrimSpaces(kWideSpace + " "), "");
  EXPECT_EQ(TrimSpaces(""), "");
  EXPECT_EQ(TrimSpaces(kAh + kWideSpace), kAh);
  EXPECT_EQ(TrimSpaces(kAh + kOpenQuote), kAh + kOpenQuote);

  EXPECT_EQ(RemoveSpaces(" a b" + kWideSpace + "c\t"), "abc\t");
  // A1 A1 across two characters is not a full-width space.
  EXPECT_EQ(RemoveSpaces(kAh + kOpenQuote), kAh + kOpenQuote);
}

TEST(ToIntegerTest, Table) {
  const std::pair<Text, int> cases[] = {
      {"\xA3\xB1\xA3\xB2", 12},  // full-width one and two
      {"abc12", 0},
      {"", 0},
      {"-", 0},
      {"  -42x", -42},
      {"+7", 7},
      {"\t\n 3", 3},
      {kWideSpace + "\xA3\xAD\xA3\xB5", -5},  // full-width space, minus, five
      {"\xA3\xB1"
       "2",
       12},
      {"12" + kAh + "3", 12},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ToInteger(text), expected) << text;
}

TEST(ConversionTest, TextAndBytes) {
  EXPECT_EQ(ToText(0), "0");
  EXPECT_EQ(ToText(-15), "-15");
  EXPECT_EQ(ToText(INT_MIN), "-2147483648");
  EXPECT_EQ(ToText(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(ToText(Bytes{'a', 'b'}), "ab");
  EXPECT_EQ(ToText(Bytes{}), "");
  EXPECT_EQ(ToBytes("a\xB0"), (Bytes{'a', 0xB0}));
  EXPECT_TRUE(ToBytes("").empty());

  const Bytes bytes{1, 0, 3};
  EXPECT_EQ(BytesLength(bytes), 3);
  EXPECT_EQ(BytesLeft(bytes, 2), (Bytes{1, 0}));
  EXPECT_EQ(BytesLeft(bytes, 9), bytes);
  EXPECT_TRUE(BytesLeft(bytes, -1).empty());
  EXPECT_EQ(BlankBytes(3), (Bytes{0, 0, 0}));
  EXPECT_TRUE(BlankBytes(0).empty());
  EXPECT_TRUE(BlankBytes(-5).empty());
}

TEST(CompareTextTest, SignsAndCase) {
  EXPECT_EQ(CompareText("abc", "abc"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("abd", "abc"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareText("\x80", "a"), 0);  // bytes are unsigned
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_NE(CompareText("Hello", "hELLO"), 0);
  EXPECT_EQ(CompareText("Hello", "hELLO", false), 0);
  EXPECT_EQ(CompareText(kAh + "X", kAh + "x", false), 0);
  // Two-byte characters compare whole: their second bytes are not folded.
  EXPECT_NE(CompareText("\x81\x41", "\x81\x61", false), 0);
  EXPECT_LT(CompareText("a", "B", false), 0);
}

// Code page 936 writes the euro sign as the single byte 0x80, and 0xFF is a
// character of its own too: neither begins a two-byte character, although either
// may be the second byte of one (81 80 is a character).
const Text kEuro = "\x80";

TEST(OneByteCharactersTest, EuroSignAndFFStandAlone) {
  ASSERT_EQ("€"_gbk, kEuro);

  const FindCase finds[] = {
      {"quote right after the euro sign", "季"_gbk + kEuro + "\"/>", "\"", 1, false, 4},
      {"ASCII right after FF",
       "\xFF"
       "a",
       "a", 1, false, 2},
      {"character right after the euro sign", kEuro + "\x81\x40", "\x81\x40", 1, false, 2},
      {"after a character whose second byte is 80", "\x81\x80" + kEuro + "\"", "\"", 1, false, 4},
      {"80 as a second byte is no euro sign", "\x81\x80", kEuro, 1, false, -1},
      {"80 as a second byte after a lead",
       "\xB0\x80"
       "a",
       "\x80"
       "a",
       1, false, -1},
      {"euro sign itself", "a" + kEuro + kEuro, kEuro + kEuro, 1, false, 2},
      {"folded after the euro sign", kEuro + "SET-COOKIE:", "set-cookie:", 1, true, 2},
  };
  for (const FindCase& c : finds) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignore_case), c.expected) << c.name;
  }

  const ReplaceCase replaces[] = {
      {"slash after the euro sign", kEuro + "/\xFF?", "/", "_", 1, kAllOccurrences, true,
       kEuro + "_\xFF?"},
      {"every slash after a run of euro signs", kEuro + kEuro + kEuro + "/", "/", "_", 1,
       kAllOccurrences, true, kEuro + kEuro + kEuro + "_"},
  };
  for (const ReplaceCase& c : replaces) {
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.case_sensitive),
              c.expected)
        << c.name;
  }

  const SplitCase splits[] = {
      {"comma after the euro sign",
       "a" + kEuro + ",b\xFF,c",
       ",",
       kNoLimit,
       {"a" + kEuro, "b\xFF", "c"}},
      {"line break after the euro sign",
       "10" + kEuro + "\r\n20" + kEuro + "\r\n",
       "\r\n",
       kNoLimit,
       {"10" + kEuro, "20" + kEuro}},
  };
  for (const SplitCase& c : splits) {
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.maximum), c.expected) << c.name;
  }

  EXPECT_EQ(TrimSpaces(" " + kEuro + " "), kEuro);
  EXPECT_EQ(TrimSpaces(kWideSpace + "9.9" + kEuro + kWideSpace), "9.9" + kEuro);
  EXPECT_EQ(TrimSpaces("\xFF "), "\xFF");
  EXPECT_EQ(RemoveSpaces(kEuro + " 1" + kEuro + kWideSpace + "\xFF 2"),
            kEuro + "1" + kEuro + "\xFF" + "2");

  EXPECT_EQ(CompareText(kEuro + "a", kEuro + "A", false), 0);
  EXPECT_EQ(CompareText("\xFF"
                        "a",
                        "\xFF"
                        "A",
                        false),
            0);
  EXPECT_NE(CompareText("\x81\x80"
                        "a",
                        "\x81\x80"
                        "b",
                        false),
            0);

  EXPECT_EQ(ToInteger(kEuro + "12"), 0);
  EXPECT_EQ(ToInteger("12" + kEuro + "3"), 12);
  EXPECT_EQ(ToInteger("\xA3\xB1" + kEuro), 1);
}

// The plain forward scan the fast search must agree with: try at each character
// start, step two bytes at a lead byte (0x81 to 0xFE).
int ReferenceFind(const Text& text, const Text& sought, std::size_t from, bool fold) {
  auto low = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  for (std::size_t i = from; i + sought.size() <= text.size();
       i +=
       (static_cast<unsigned char>(text[i]) >= 0x81 && static_cast<unsigned char>(text[i]) <= 0xFE)
           ? 2
           : 1) {
    bool equal = true;
    for (std::size_t k = 0; k < sought.size() && equal; ++k) {
      const unsigned char a = text[i + k], b = sought[k];
      equal = fold ? low(a) == low(b) : a == b;
    }
    if (equal) return static_cast<int>(i + 1);
  }
  return -1;
}

TEST(CharacterScanTest, AgreesWithForwardScanOnRandomTexts) {
  std::mt19937 random(12345);
  const unsigned char alphabet[] = {'a', 'A', 'b', 0xA1, 0xB0, 0x41, 0x81, 0x80, 0xFF};
  auto random_text = [&](std::size_t max_length) {
    Text text(random() % (max_length + 1), ' ');
    for (char& c : text) c = static_cast<char>(alphabet[random() % sizeof alphabet]);
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    const Text text = random_text(24);
    const Text sought = random_text(4);
    if (sought.empty()) continue;
    const int start = static_cast<int>(random() % (text.size() + 2));
    const bool fold = random() % 2 == 0;
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    const int expected = from >= text.size() ? -1 : ReferenceFind(text, sought, from, fold);
    ASSERT_EQ(FindText(text, sought, start, fold), expected)
        << "text " << testing::PrintToString(text) << " sought " << testing::PrintToString(sought)
        << " start " << start << " fold " << fold;

    // ReplaceText walks the same scan, resuming after each match.
    Text replaced;
    std::size_t pos = 0;
    for (int found; (found = ReferenceFind(text, sought, pos, !fold)) != -1;) {
      replaced += text.substr(pos, static_cast<std::size_t>(found) - 1 - pos) + "#";
      pos = static_cast<std::size_t>(found) - 1 + sought.size();
    }
    replaced += text.substr(pos);
    ASSERT_EQ(ReplaceText(text, sought, "#", 1, kAllOccurrences, fold), replaced)
        << "text " << testing::PrintToString(text) << " sought " << testing::PrintToString(sought);
  }
}

}  // namespace
}  // namespace tessaly
