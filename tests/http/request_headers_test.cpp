#include "http/request_headers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tessaly {
namespace {

const std::string kAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
const std::string kAccept = "Accept: text/html, application/xhtml+xml, */*\r\n";
const std::string kEncoding = "Accept-Encoding: gbk, GB2312\r\n";
const std::string kLanguage = "Accept-Language: zh-cn\r\n";
const std::string kForm = "Content-Type: application/x-www-form-urlencoded\r\n";
const std::string kNoCache = "Cache-Control: no-cache\r\n";

struct BlockCase {
  const char* name;
  std::string extra;
  int method;
  const char* cookies;  // nullptr: not supplied
  std::string expected;
};

class ComposeHeaderBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ComposeHeaderBlockTest, ComposesDefaultsAfterTheCallersLines) {
  const BlockCase& c = GetParam();
  const Text cookies = c.cookies != nullptr ? c.cookies : "";
  EXPECT_EQ(ComposeHeaderBlock(c.extra, c.method, c.cookies != nullptr ? &cookies : nullptr),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeHeaderBlockTest,
    ::testing::Values(
        BlockCase{"plain_get", "", 0, nullptr, kAgent + kAccept + kEncoding + kLanguage + kNoCache},
        BlockCase{"get_with_cookie", "", 0, "a=1",
                  kAgent + kAccept + kEncoding + kLanguage + kNoCache + "Cookie: a=1\r\n"},
        BlockCase{"lower_case_agent_counts", "user-agent: X", 0, nullptr,
                  "user-agent: X\r\n" + kAccept + kEncoding + kLanguage + kNoCache},
        // The Content-Type test is exact: the caller's lower-case line does not count.
        BlockCase{"post_lower_content_type", "content-type: text/plain", 1, nullptr,
                  "content-type: text/plain\r\n" + kAgent + kAccept + kEncoding + kLanguage +
                      kForm + kNoCache},
        BlockCase{
            "post_exact_content_type", "Content-Type: text/plain", 1, nullptr,
            "Content-Type: text/plain\r\n" + kAgent + kAccept + kEncoding + kLanguage + kNoCache},
        BlockCase{"content_type_only_for_post", "", 3, nullptr,
                  kAgent + kAccept + kEncoding + kLanguage + kNoCache},
        BlockCase{"empty_cookies_add_no_line", "", 0, "",
                  kAgent + kAccept + kEncoding + kLanguage + kNoCache},
        BlockCase{"callers_cookie_line_stays_alone", "Cookie: mine=1", 0, "a=1",
                  "Cookie: mine=1\r\n" + kAgent + kAccept + kEncoding + kLanguage + kNoCache},
        // A value pasted over several lines becomes one line of items.
        BlockCase{"pasted_lines_are_items", "", 0, "a=1\r\nb=2\r\n",
                  kAgent + kAccept + kEncoding + kLanguage + kNoCache + "Cookie: a=1; b=2\r\n"},
        BlockCase{"only_line_breaks_add_no_line", "", 0, "\r\n \n",
                  kAgent + kAccept + kEncoding + kLanguage + kNoCache},
        // A name inside another line's value counts as present.
        BlockCase{"name_inside_a_value", "X-Note: says Accept: all", 0, nullptr,
                  "X-Note: says Accept: all\r\n" + kAgent + kEncoding + kLanguage + kNoCache},
        // "Accept: " is not found inside "Accept-Encoding: "; "accept-encoding: " is.
        BlockCase{"accept_encoding_given", "Accept-Encoding: identity", 0, nullptr,
                  "Accept-Encoding: identity\r\n" + kAgent + kAccept + kLanguage + kNoCache}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderBlockLinesTest, LaterLineOfANameTakesTheEarlierOnesPlace) {
  std::vector<Text> lines;
  ASSERT_TRUE(HeaderBlockLines(
      "content-type: text/plain\r\nX-A: 1\r\nContent-Type: application/x-www-form-urlencoded\r\n",
      lines));
  EXPECT_EQ(lines,
            (std::vector<Text>{"Content-Type: application/x-www-form-urlencoded", "X-A: 1"}));
}

TEST(CookieLineValueTest, LineBreaksSeparateItems) {
  const std::pair<Text, Text> cases[] = {
      {"a=1; b=2", "a=1; b=2"},
      {"a=1;b=2;", "a=1;b=2;"},  // no line break: the bytes stay
      {"  a=1; b=2 ", "a=1; b=2"},
      {"a=1\r\nb=2\r\n", "a=1; b=2"},
      {"a=1\nb=2", "a=1; b=2"},
      {"a=1\rb=2", "a=1; b=2"},
      {"\r\n\r\na=1\r\n\r\n\r\nb=2\n\n", "a=1; b=2"},
      // The semicolons and blanks a line already ends or starts with are part of the
      // one separator.
      {"a=1;\r\n b=2 ;\r\n;c=3;\r\n", "a=1; b=2; c=3"},
      {"a=1\r\n   \r\nb=2", "a=1; b=2"},
      {"a=1\nX-Other: y", "a=1; X-Other: y"},
      {"\r\n", ""},
      {" ;\r\n; ", ""},
      {"", ""},
      {"k=\xC4\xE3\r\nm=\xBA\xC3", "k=\xC4\xE3; m=\xBA\xC3"},
  };
  for (const auto& [value, line] : cases) EXPECT_EQ(CookieLineValue(value), line) << value;
}

TEST(HeaderBlockLinesTest, LinesThatWouldNotStayOneLineOnTheWireAreRefused) {
  std::vector<Text> lines;
  ASSERT_TRUE(HeaderBlockLines("Cookie: a=1\r\n\r\nX-A: 1\r\n  \r\n", lines));
  EXPECT_EQ(lines, (std::vector<Text>{"Cookie: a=1", "X-A: 1"}));
  for (const char* block :
       {"Cookie: a=1\n\r\nX-A: 1\r\n", "X-A: 1\rX-B: 2\r\n", "X-A: 1\nX-B: 2\r\n", "X-A: 1\r",
        "X-A: 1\r\r\n", "X-A: 1\r\n X-B: 2\r\n", "X-A: 1\r\n\tX-B: 2\r\n"}) {
    EXPECT_FALSE(HeaderBlockLines(block, lines)) << block;
  }
}

TEST(HeaderBlockLinesTest, SkipsEmptyLinesAndRefusesLinesWithoutName) {
  std::vector<Text> lines;
  ASSERT_TRUE(HeaderBlockLines("X-A: 1\r\n\r\nX-B: 2\r\n", lines));
  EXPECT_EQ(lines, (std::vector<Text>{"X-A: 1", "X-B: 2"}));
  EXPECT_FALSE(HeaderBlockLines("X-A: 1\r\ngarbage\r\n", lines));
  EXPECT_FALSE(HeaderBlockLines("Cookie: a=1;\nb=2\r\n", lines));
  EXPECT_FALSE(HeaderBlockLines(": no name\r\n", lines));
}

}  // namespace
}  // namespace tessaly
