#include "text/pattern_matcher.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/gbk.h"

namespace tessaly {
namespace {

// The system's patterns.
const Text kIdPattern = "\\d{12}[.]html";
const Text kMainImagePattern = "https://cbu\\d+[.].*?[.].*?\\d+_\\d+([.]\\d+x4.*?)[.][a-zA-Z]{3}";
const Text kDescriptionImagePattern = "(https://cbu.*?[.].*?[.].*?[.][a-zA-Z]{3})";
const Text kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

// Traditional characters whose GBK second byte is an ASCII letter or "_":
// 圖 = 88 44 ("D"), 說 = D5 66 ("f"), 時 = 95 72 ("r"), 體 = F3 77 ("w"),
// 開 = E9 5F ("_"). A byte-level engine sees letters in them.
const Text kPicture = "\x88\x44";
const Text kLetterTrailText = "\x88\x44\xD5\x66\x95\x72\xF3\x77";
const Text kUnderscoreTrail = "\xE9\x5F";

std::vector<Text> AllMatches(const PatternMatcher& matcher) {
  std::vector<Text> matches;
  for (int i = 1; i <= matcher.MatchCount(); ++i) matches.push_back(matcher.MatchText(i));
  return matches;
}

struct SearchCase {
  const char* name;
  Text pattern;
  Text subject;
  std::vector<Text> expected;
  bool caseSensitive = false;
  bool multiline = true;
  bool global = true;
};

TEST(PatternMatcherTest, FindsTheMatchesEcmaScriptFinds) {
  const SearchCase cases[] = {
      {"product links, the second extension in capitals",
       kIdPattern,
       "https://detail.1688.com/offer/612345678901.html?spm=a\r\n"
       "https://detail.1688.com/offer/598765432109.HTML\r\n",
       {"612345678901.html", "598765432109.HTML"}},
      {"13 digits match on their last twelve",
       kIdPattern,
       "offer/1234567890123.html",
       {"234567890123.html"}},
      {"case-sensitive search keeps the capitals out",
       kIdPattern,
       "612345678901.html 598765432109.HTML",
       {"612345678901.html"},
       true},
      {"lazy pattern ends each match at the first address's end",
       kDescriptionImagePattern,
       "<img src=\"https://cbu01.alicdn.com/img/ibank/O1CN01a.jpg\"><img "
       "src=\"https://cbu01.alicdn.com/img/ibank/O1CN01b.png\">",
       {"https://cbu01.alicdn.com/img/ibank/O1CN01a.jpg",
        "https://cbu01.alicdn.com/img/ibank/O1CN01b.png"}},
      {"main image pattern",
       kMainImagePattern,
       "\"https://cbu01.alicdn.com/img/ibank/2019/1_2.400x400.jpg\",\"https://cbu01.alicdn.com/"
       "img/ibank/O1CN01x.jpg\"",
       {"https://cbu01.alicdn.com/img/ibank/2019/1_2.400x400.jpg"}},
      {"dot does not cross CRLF", "a.b", "a\r\nb", {}},
      {"dot does not cross LF", "a.*b", "a\nb", {}},
      {"dot does not cross CR", "a.*b", "a\rb", {}},
      {"lazy pattern does not cross a line break",
       kDescriptionImagePattern,
       "https://cbu01.alicdn\r\n.com.jpg",
       {}},
      {"dot takes a Chinese character whole", "a.b", "a中b"_gbk, {"a中b"_gbk}},
      {"letter range never inside Chinese text",
       "[a-zA-Z]{3}",
       kLetterTrailText + kPicture + "jp" + kPicture + "jpg",
       {"jpg"}},
      {"ignoring case does not let Chinese in", "[a-z]{2}", kLetterTrailText + "x", {}},
      {"\\w never takes a Chinese character",
       "\\w+",
       kUnderscoreTrail + "ab" + kLetterTrailText,
       {"ab"}},
      {"\\d is ASCII only", "\\d+", "１２3"_gbk, {"3"}},
      {"multiline ^ at every line start", "^\\d+", "12 a\r\n34 b\n56", {"12", "34", "56"}},
      {"single-line ^ only at the start", "^\\d+", "12 a\r\n34 b", {"12"}, false, false},
      {"multiline $ before CRLF", "\\d$", "a1\r\nb2", {"1", "2"}},
      {"single-line $ only at the very end", "\\d$", "a1\n", {}, false, false},
      {"non-global keeps the first match only", "\\d", "a1b2c3", {"1"}, false, true, false},
      {"empty matches advance one character", "x*", "中xx"_gbk, {"", "xx", ""}},
      {"lazy empty matches", "a*?", "aa", {"", "", ""}},
      {"\\u escape names a character", "\\u4e2d\\x41", "a中A"_gbk, {"中A"_gbk}},
      {"nothing found", kIdPattern, "no links here", {}},
      {"invalid GBK in the subject does not stop the search",
       kIdPattern,
       "\xFF\x81 offer/612345678901.html \x80\xFF",
       {"612345678901.html"}},
      {"subject ending in a lone lead byte", "html", "612345678901.html\xB0", {"html"}},
  };
  for (const SearchCase& c : cases) {
    PatternMatcher matcher;
    EXPECT_TRUE(matcher.Search(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global))
        << c.name;
    EXPECT_EQ(AllMatches(matcher), c.expected) << c.name;
    EXPECT_EQ(matcher.MatchText(0), "") << c.name;
    EXPECT_EQ(matcher.MatchText(matcher.MatchCount() + 1), "") << c.name;
  }
}

// Where PCRE2's own reading of a pattern differs from ECMAScript's.
TEST(PatternMatcherTest, ReadsSpacesVerticalTabAndLineStartsAsEcmaScriptDoes) {
  const Text wide = "　"_gbk;  // U+3000, the full-width space
  ASSERT_EQ(wide, "\xA1\xA1");
  const SearchCase cases[] = {
      {"\\s takes the full-width space", "a\\sb", "a" + wide + "b", {"a" + wide + "b"}},
      {"\\s takes the ASCII white space",
       "\\s",
       "\t\n\v\f\r x",
       {"\t", "\n", "\v", "\f", "\r", " "}},
      {"\\S stops at the full-width space", "\\S+", "ab" + wide + "cd中"_gbk, {"ab", "cd中"_gbk}},
      {"\\s in a class with \\d", "[\\s\\d]+", "x1" + wide + "2 y", {"1" + wide + "2 "}},
      {"\\s in a negated class", "[^\\s]+", "ab" + wide + "cd", {"ab", "cd"}},
      {"\\S in a class", "[\\S]+", "ab" + wide + "c\td", {"ab", "c", "d"}},
      {"\\S in a class with more", "[\\S ]+", "ab c" + wide + "d", {"ab c", "d"}},
      {"\\S in a negated class", "[^\\S]+", "a" + wide + " b", {wide + " "}},
      {"\\S in a class, ignoring case", "[\\Sx]+", "AB" + wide + "x", {"AB", "x"}},
      {"escaped backslash before s", "\\\\s", "\\s " + wide, {"\\s"}},
      {"escaped backslash before s in a class", "[\\\\s]+", "a\\s" + wide, {"\\s"}},
      {"class closed before \\s", "[a]\\s", "a" + wide, {"a" + wide}},
      {"\\v is the vertical tab alone", "\\v", "a\vb\nc\rd\f", {"\v"}},
      {"\\v in a class", "[\\v]", "\n\v\r", {"\v"}},
      {"multiline ^ after a final line break", "^x*", "a\nx\n", {"", "x", ""}},
      {"single-line ^ not after a final line break", "^", "a\n", {""}, false, false},
  };
  for (const SearchCase& c : cases) {
    PatternMatcher matcher;
    EXPECT_TRUE(matcher.Search(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global))
        << c.name;
    EXPECT_EQ(AllMatches(matcher), c.expected) << c.name;
    // The pattern is rewritten for the engine only.
    EXPECT_EQ(matcher.GetPattern(), c.pattern) << c.name;
  }
}

TEST(PatternMatcherTest, DefaultsIgnoreCaseAndFindEveryLineOfEveryMatch) {
  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Search("^a\\d", "A1 a2\nA3"));
  EXPECT_EQ(AllMatches(matcher), (std::vector<Text>{"A1", "A3"}));
}

TEST(PatternMatcherTest, CapturesTheDeclaredCharset) {
  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Search(
      kCharsetPattern,
      "<HTML><HEAD><META HTTP-EQUIV='Content-Type' CONTENT='text/html; CHARSET=UTF-8'>"));
  EXPECT_EQ(matcher.SubMatchText(1, 1), "UTF-8");
  ASSERT_TRUE(matcher.Search(kCharsetPattern, "<meta charset=\"gbk\" />"));
  EXPECT_EQ(matcher.SubMatchText(1, 1), "gbk");
}

TEST(PatternMatcherTest, AnswersAboutGroups) {
  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Search("(\\d)(x)?|(中)"_gbk, "1 2x 中"_gbk));
  ASSERT_EQ(matcher.MatchCount(), 3);
  EXPECT_EQ(matcher.SubMatchCount(), 3);
  EXPECT_EQ(matcher.SubMatchText(1, 1), "1");
  EXPECT_EQ(matcher.SubMatchText(1, 2), "") << "group took no part";
  EXPECT_EQ(matcher.SubMatchText(2, 2), "x");
  EXPECT_EQ(matcher.SubMatchText(3, 1), "") << "group took no part";
  EXPECT_EQ(matcher.SubMatchText(3, 3), "中"_gbk);
  EXPECT_EQ(matcher.SubMatchText(1, 0), "");
  EXPECT_EQ(matcher.SubMatchText(1, 4), "");
  EXPECT_EQ(matcher.SubMatchText(0, 1), "");
  EXPECT_EQ(matcher.SubMatchText(4, 1), "");

  ASSERT_TRUE(matcher.Search("(a)", "bbb"));
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.SubMatchCount(), 0);
  EXPECT_EQ(matcher.SubMatchText(1, 1), "");

  ASSERT_TRUE(matcher.Search("(a)", "a"));
  EXPECT_EQ(matcher.SubMatchText(1, 2), "") << "pattern has one group";
  EXPECT_EQ(matcher.SubMatchCount(), 1);
}

TEST(PatternMatcherTest, RejectedPatternLeavesNoMatches) {
  for (const Text bad : {"(", "a)", "[a", "a{2,1}", "\\C"}) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Search(kIdPattern, "612345678901.html"));
    ASSERT_EQ(matcher.MatchCount(), 1);
    EXPECT_FALSE(matcher.Search(bad, "612345678901.html (a")) << bad;
    EXPECT_EQ(matcher.MatchCount(), 0) << bad;
    EXPECT_EQ(matcher.MatchText(1), "") << bad;
    EXPECT_EQ(matcher.SubMatchCount(), 0) << bad;
    EXPECT_EQ(matcher.GetPattern(), bad) << bad;
    EXPECT_EQ(matcher.Replace("x"), "") << bad;
  }
}

TEST(PatternMatcherTest, QuoteMarkerStandsForADoubleQuoteOnlyWhenAsked) {
  const Text pattern = "src=#引号(.*?)#引号"_gbk;
  const Text subject = "<img src=\"a.jpg\"> src=#引号b.jpg#引号"_gbk;

  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Search(pattern, subject, false, true, true, true));
  EXPECT_EQ(matcher.GetPattern(), "src=\"(.*?)\"");
  ASSERT_EQ(matcher.MatchCount(), 1);
  EXPECT_EQ(matcher.SubMatchText(1, 1), "a.jpg");

  ASSERT_TRUE(matcher.Search(pattern, subject));
  EXPECT_EQ(matcher.GetPattern(), pattern);
  ASSERT_EQ(matcher.MatchCount(), 1);
  EXPECT_EQ(matcher.SubMatchText(1, 1), "b.jpg");
}

TEST(PatternMatcherTest, GetPatternIsEmptyBeforeTheFirstSearch) {
  PatternMatcher matcher;
  EXPECT_EQ(matcher.GetPattern(), "");
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.MatchText(1), "");
  EXPECT_EQ(matcher.Replace("x"), "");
}

struct ReplaceCase {
  const char* name;
  Text pattern;
  Text subject;
  Text replacement;
  Text expected;
  bool global = true;
};

TEST(PatternMatcherTest, ReplacesWithEcmaScriptReplacementPatterns) {
  const ReplaceCase cases[] = {
      {"whole match", "\\d+", "a1b22", "[$&]", "a[1]b[22]"},
      {"first group", "(\\d)(\\d)?", "a1b23", "<$1>", "a<1>b<2>"},
      {"group that took no part is empty", "(\\d)(x)?", "1x2", "$2", "x"},
      {"dollar sign", "b", "abc", "$$", "a$c"},
      {"text before and after", "b", "abc", "[$`|$']", "a[a|c]c"},
      {"two-digit group", "(a)", "a", "$01", "a"},
      {"second digit kept when no such group", "(a)", "a", "$10", "a0"},
      {"group beyond the pattern stays literal", "(a)", "a", "$2$0$x$", "$2$0$x$"},
      {"only the first when not global", "\\d", "1 2 3", "#", "# 2 3", false},
      {"Chinese around the matches", "中"_gbk, "中文中"_gbk, "$&!", "中!文中!"_gbk},
      {"empty matches", "x*", "ab", "-", "-a-b-"},
      {"no match leaves the subject", "z", "abc", "y", "abc"},
  };
  for (const ReplaceCase& c : cases) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Search(c.pattern, c.subject, false, true, c.global)) << c.name;
    EXPECT_EQ(matcher.Replace(c.replacement), c.expected) << c.name;
  }
}

TEST(PatternMatcherTest, PathologicalSubjectEndsTheSearchAsNotRun) {
  std::string gallery = "https://cbu01";
  for (int i = 0; i < 3000; ++i) gallery += ".1_2.3x4";
  gallery += "\n.jpg";
  const struct {
    const char* name;
    Text pattern;
    Text subject;
  } cases[] = {
      {"nested quantifiers before a missing y", "(x+x+)+y", std::string(40, 'x') + "zy"},
      {"nested quantifiers before a missing end", "(a+)+$", std::string(40, 'a') + "b"},
      {"main image pattern over a line that never completes", kMainImagePattern, gallery},
  };
  for (const auto& c : cases) {
    PatternMatcher matcher;
    ASSERT_TRUE(matcher.Search("x", "x"));
    EXPECT_FALSE(matcher.Search(c.pattern, c.subject)) << c.name;
    EXPECT_EQ(matcher.MatchCount(), 0) << c.name;
  }
}

// A page with one pathological line keeps the addresses found before it.
TEST(PatternMatcherTest, MatchesBeforeTheWorkBoundStay) {
  std::string gallery = "https://cbu01";
  for (int i = 0; i < 3000; ++i) gallery += ".1_2.3x4";
  gallery += "\n.jpg";
  const struct {
    const char* name;
    Text pattern;
    Text subject;
    std::vector<Text> expected;
  } cases[] = {
      {"nested quantifiers",
       "(x+x+)+y",
       "xxy xxxy " + std::string(40, 'x') + "zy",
       {"xxy", "xxxy"}},
      {"main image pattern",
       kMainImagePattern,
       "https://cbu01.alicdn.com/img/ibank/2019/1_2.400x400.jpg\n" + gallery,
       {"https://cbu01.alicdn.com/img/ibank/2019/1_2.400x400.jpg"}},
  };
  for (const auto& c : cases) {
    PatternMatcher matcher;
    EXPECT_FALSE(matcher.Search(c.pattern, c.subject)) << c.name << ": did not run to the end";
    EXPECT_EQ(AllMatches(matcher), c.expected) << c.name;
  }
  PatternMatcher matcher;
  ASSERT_FALSE(matcher.Search("(\\d)(x+x+)+y", "1xxy 2" + std::string(40, 'x') + "zy"));
  EXPECT_EQ(matcher.SubMatchText(1, 1), "1");
  EXPECT_EQ(matcher.Replace("<$1>"), "<1> 2" + std::string(40, 'x') + "zy");
}

TEST(PatternMatcherTest, LazyPatternOverALongRunOfDotsFindsNothing) {
  PatternMatcher matcher;
  matcher.Search(kDescriptionImagePattern, "https://cbu" + std::string(5000, '.') + "ab");
  EXPECT_EQ(matcher.MatchCount(), 0);
}

TEST(PatternMatcherTest, FindsEveryLinkOfALargePage) {
  std::string page;
  const int links = 100000;
  for (int i = 0; i < links; ++i)
    page += "<a href=\"https://detail.1688.com/offer/" + std::to_string(600000000000LL + i) +
            ".html\">商品</a>\n";
  page = Utf8ToGbk(page);
  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Search(kIdPattern, page));
  ASSERT_EQ(matcher.MatchCount(), links);
  EXPECT_EQ(matcher.MatchText(links), std::to_string(600000000000LL + links - 1) + ".html");
}

}  // namespace
}  // namespace tessaly
