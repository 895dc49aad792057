#include "text/text_between.h"

#include <gtest/gtest.h>

#include "support/counting_desktop.h"
#include "text/desktop.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

const Text kTitleLeft = "og:title\" content=\"";

struct BetweenCase {
  const char* name;
  Text text;
  Text left;
  Text right;
  int start;
  bool ignore_case;
  Text expected;
};

TEST(TextBetweenTest, Table) {
  const Text page =
      "<meta property=\"og:title\" content=\"第一个标题\"/>"
      "<meta property=\"og:title\" content=\"second\"/>"_gbk;
  const BetweenCase cases[] = {
      {"first title of two", page, kTitleLeft, "\"", 0, false, "第一个标题"_gbk},
      {"quote marker written out", page, "og:title#引号 content=#引号"_gbk, "#引号"_gbk, 0, false,
       "第一个标题"_gbk},
      {"start skips the first title", page, kTitleLeft, "\"", 30, false, "second"},
      {"right marker before the left one is ignored", "，货号:A-12，价格"_gbk, "货号:"_gbk,
       "，"_gbk, 0, false, "A-12"},
      {"spaces and line breaks kept", "[ \r\nx \n]", "[", "]", 0, false, " \r\nx \n"},
      {"left marker ends the text", "abc[", "[", "]", 0, false, ""},
      {"adjacent markers", "a[]b]", "[", "]", 0, false, ""},
      {"missing left marker", "abc]", "[", "]", 0, false, ""},
      {"missing right marker", "[abc", "[", "]", 0, false, ""},
      {"right is not looked for inside left", "<a>x>", "<a>", ">", 0, false, "x"},
      {"exact case by default", "<B>x</B>", "<b>", "</b>", 0, false, ""},
      {"ignore case on request", "<B>x</B>", "<b>", "</b>", 0, true, "x"},
      {"empty left marker", "abc]", "", "]", 0, false, ""},
      {"empty right marker", "[abc", "[", "", 0, false, ""},
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignore_case), c.expected) << c.name;
  }
}

// Code page 936 writes the euro sign as the single byte 0x80; the closing quote
// right after it ends the title, as a converted UTF-8 page has it.
TEST(TextBetweenTest, StopsAtAMarkerRightAfterAOneByteCharacter) {
  const Text title = "纯棉T恤·夏季€"_gbk;
  ASSERT_EQ(title.back(), '\x80');
  const Text page = "<meta property=\"og:title\" content=\""_gbk + title +
                    "\"/>\n<meta property=\"og:product:price\" content=\"29.90\"/>"_gbk;
  const BetweenCase cases[] = {
      {"title ending in the euro sign", page, kTitleLeft, "\"", 0, false, title},
      {"same title with quote markers", page, "og:title#引号 content=#引号"_gbk, "#引号"_gbk, 0,
       false, title},
      {"price after the title", page, "og:product:price\" content=\"", "\"", 0, false, "29.90"},
      {"FF before the marker", "[a\xFF]b]", "[", "]", 0, false, "a\xFF"},
      {"character with 80 as its second byte", "[\x81\x80\x80]b]", "[", "]", 0, false,
       "\x81\x80\x80"},
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignore_case), c.expected) << c.name;
  }

  TextArray items;
  EXPECT_EQ(AllTextsBetween(R"({"name":"欧元€"},{"name":"￥"},{"name":"b€"})"_gbk, "name\":\"",
                            "\"", items),
            3);
  EXPECT_EQ(items, (TextArray{"欧元€"_gbk, "￥"_gbk, "b€"_gbk}));
}

TEST(AllTextsBetweenTest, FindsEveryNameIgnoringCaseByDefault) {
  const Text text = R"({"name":"红色","x":1},{"NAME":"blue"},{"name":"绿色"})"_gbk;
  TextArray items{"stale"};
  EXPECT_EQ(AllTextsBetween(text, "name\":\"", "\"", items), 3);
  EXPECT_EQ(items, (TextArray{"红色"_gbk, "blue", "绿色"_gbk}));

  EXPECT_EQ(AllTextsBetween(text, "name\":\"", "\"", items, true), 2);
  EXPECT_EQ(items, (TextArray{"红色"_gbk, "绿色"_gbk}));
}

// Each row names only what differs from a plain "[" … "]" search.
struct AllCase {
  const char* name;
  Text text;
  TextArray expected;
  Text left = "[";
  Text right = "]";
  int max_length = 0;
  Text prefix = {};
  Text suffix = {};
  bool keep_left = false;
  bool keep_right = false;
  int start = 0;
};

TEST(AllTextsBetweenTest, Table) {
  const AllCase cases[] = {
      {.name = "elements trimmed",
       .text = "[ a ][\xA1\xA1"
               "b]",
       .expected = {"a", "b"}},
      {.name = "spaces-only element dropped", .text = "[  ][b]", .expected = {"b"}},
      {.name = "spaces-only element kept as prefix and suffix",
       .text = "[  ][b]",
       .expected = {"<>", "<b>"},
       .prefix = "<",
       .suffix = ">"},
      {.name = "maxLength 5 keeps four bytes, drops five",
       .text = "[abcd][abcde][abc]",
       .expected = {"abcd", "abc"},
       .max_length = 5},
      {.name = "markers and affixes in order",
       .text = "[x]",
       .expected = {"[pxs]"},
       .prefix = "p",
       .suffix = "s",
       .keep_left = true,
       .keep_right = true},
      {.name = "maxLength counts the kept markers",
       .text = "[abc][ab]",
       .expected = {"[ab]"},
       .max_length = 5,
       .keep_left = true,
       .keep_right = true},
      {.name = "left marker inside an element is skipped", .text = "[a[b]c]", .expected = {"a[b"}},
      {.name = "right marker begins the next left",
       .text = "|a|b|",
       .expected = {"a", "b"},
       .left = "|",
       .right = "|"},
      // After an empty element the search goes on from the content, not the right marker.
      {.name = "empty element resumes at the content",
       .text = " a a b a",
       .expected = {"b"},
       .left = " a",
       .right = "a"},
      {.name = "stops at a left marker without right", .text = "[a][b", .expected = {"a"}},
      {.name = "start skips earlier pairs", .text = "[a][b]", .expected = {"b"}, .start = 3},
      {.name = "empty text", .text = "", .expected = {}},
      {.name = "empty left marker", .text = "[a]", .expected = {}, .left = ""},
      {.name = "empty right marker", .text = "[a]", .expected = {}, .right = ""},
  };
  for (const AllCase& c : cases) {
    TextArray items{"stale", "items"};
    const int count = AllTextsBetween(c.text, c.left, c.right, items, false, c.max_length, c.prefix,
                                      c.suffix, c.keep_left, c.keep_right, c.start);
    EXPECT_EQ(items, c.expected) << c.name;
    EXPECT_EQ(count, c.expected.Count()) << c.name;
  }
}

TEST(AllTextsBetweenTest, LetsEventsRunAfterEveryPair) {
  testing::CountingDesktop desktop;
  TextArray items;
  // Three pairs, one of them empty: three dispatches each.
  AllTextsBetween("[a][ ][b]", "[", "]", items);
  EXPECT_EQ(desktop.events, 9);
  // With a length limit, one more for every element that passed the emptiness check.
  desktop.events = 0;
  AllTextsBetween("[a][ ][bbbbbb]", "[", "]", items, false, 3);
  EXPECT_EQ(desktop.events, 11);
}

}  // namespace
}  // namespace tessaly
