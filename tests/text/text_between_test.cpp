#include "text/text_between.h"

#include <gtest/gtest.h>

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

TEST(AllTextsBetweenTest, FindsEveryNameIgnoringCaseByDefault) {
  const Text text = R"({"name":"红色","x":1},{"NAME":"blue"},{"name":"绿色"})"_gbk;
  TextArray items{"stale"};
  EXPECT_EQ(AllTextsBetween(text, "name\":\"", "\"", items), 3);
  EXPECT_EQ(items, (TextArray{"红色"_gbk, "blue", "绿色"_gbk}));

  EXPECT_EQ(AllTextsBetween(text, "name\":\"", "\"", items, true), 2);
  EXPECT_EQ(items, (TextArray{"红色"_gbk, "绿色"_gbk}));
}

struct AllCase {
  const char* name;
  Text text;
  Text left;
  Text right;
  int max_length;
  Text prefix;
  Text suffix;
  bool keep_left;
  bool keep_right;
  int start;
  TextArray expected;
};

TEST(AllTextsBetweenTest, Table) {
  const AllCase cases[] = {
      {"elements trimmed",
       "[ a ][\xA1\xA1"
       "b]",
       "[",
       "]",
       0,
       "",
       "",
       false,
       false,
       0,
       {"a", "b"}},
      {"spaces-only element dropped", "[  ][b]", "[", "]", 0, "", "", false, false, 0, {"b"}},
      {"spaces-only element kept as prefix and suffix",
       "[  ][b]",
       "[",
       "]",
       0,
       "<",
       ">",
       false,
       false,
       0,
       {"<>", "<b>"}},
      {"maxLength 5 keeps four bytes, drops five",
       "[abcd][abcde][abc]",
       "[",
       "]",
       5,
       "",
       "",
       false,
       false,
       0,
       {"abcd", "abc"}},
      {"markers and affixes in order", "[x]", "[", "]", 0, "p", "s", true, true, 0, {"[pxs]"}},
      {"maxLength counts the kept markers",
       "[abc][ab]",
       "[",
       "]",
       5,
       "",
       "",
       true,
       true,
       0,
       {"[ab]"}},
      {"left marker inside an element is skipped",
       "[a[b]c]",
       "[",
       "]",
       0,
       "",
       "",
       false,
       false,
       0,
       {"a[b"}},
      {"right marker begins the next left",
       "|a|b|",
       "|",
       "|",
       0,
       "",
       "",
       false,
       false,
       0,
       {"a", "b"}},
      // After an empty element the search goes on from the content, not the right marker.
      {"empty element resumes at the content",
       " a a b a",
       " a",
       "a",
       0,
       "",
       "",
       false,
       false,
       0,
       {"b"}},
      {"stops at a left marker without right",
       "[a][b",
       "[",
       "]",
       0,
       "",
       "",
       false,
       false,
       0,
       {"a"}},
      {"start skips earlier pairs", "[a][b]", "[", "]", 0, "", "", false, false, 3, {"b"}},
      {"empty text", "", "[", "]", 0, "", "", false, false, 0, {}},
      {"empty left marker", "[a]", "", "]", 0, "", "", false, false, 0, {}},
      {"empty right marker", "[a]", "[", "", 0, "", "", false, false, 0, {}},
  };
  for (const AllCase& c : cases) {
    TextArray items{"stale", "items"};
    const int count = AllTextsBetween(c.text, c.left, c.right, items, false, c.max_length, c.prefix,
                                      c.suffix, c.keep_left, c.keep_right, c.start);
    EXPECT_EQ(items, c.expected) << c.name;
    EXPECT_EQ(count, c.expected.Count()) << c.name;
  }
}

class CountingDesktop : public Desktop {
 public:
  int ShowMessage(const Text&, int, const Text&) override { return 0; }
  void ProcessEvents() override { ++events; }
  void OpenUrl(const Text&) override {}
  void ShellOpen(const Text&) override {}
  int events = 0;
};

TEST(AllTextsBetweenTest, LetsEventsRunAfterEveryPair) {
  CountingDesktop desktop;
  InstallDesktop(&desktop);
  TextArray items;
  // Three pairs, one of them empty: three dispatches each.
  AllTextsBetween("[a][ ][b]", "[", "]", items);
  EXPECT_EQ(desktop.events, 9);
  // With a length limit, one more for every element that passed the emptiness check.
  desktop.events = 0;
  AllTextsBetween("[a][ ][bbbbbb]", "[", "]", items, false, 3);
  EXPECT_EQ(desktop.events, 11);
  InstallDesktop(nullptr);
}

}  // namespace
}  // namespace tessaly
