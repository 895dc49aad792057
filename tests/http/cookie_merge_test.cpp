#include "http/cookie_merge.h"

#include <string>

#include <gtest/gtest.h>

#include "http/response_header_scan.h"
#include "support/counting_desktop.h"
#include "text/desktop.h"

namespace tessaly {
namespace {

struct MergeCase {
  const char* name;
  Text oldCookies;
  Text newCookies;
  Text merged;
};

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, MergesNewBeforeOld) {
  const MergeCase& c = GetParam();
  Text oldCookies = c.oldCookies;
  Text newCookies = c.newCookies;
  EXPECT_EQ(MergeCookies(oldCookies, newCookies), c.merged);
  EXPECT_EQ(oldCookies, c.merged);
  EXPECT_EQ(newCookies.find(' '), Text::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookiesTest,
    ::testing::Values(MergeCase{"new_replaces_old_and_deletes", "a=1; b=2", "b=3; c=deleted",
                                "b=3; a=1"},
                      MergeCase{"deletion_removes_old", "c=5", "c=deleted", ""},
                      MergeCase{"normalises_spacing", "a=1;b=2", "", "a=1; b=2"},
                      MergeCase{"blanks_inside_values_go", "k=x y", "", "k=xy"},
                      MergeCase{"same_item_twice_once", "a=1;a=1", "", "a=1"},
                      MergeCase{"servers_two_values_stay", "", "a=1;a=2", "a=1; a=2"},
                      MergeCase{"first_old_of_a_name_wins", "a=1;a=2", "", "a=1"},
                      MergeCase{"empty_item_between_semicolons", "a=1;;b=2", "", "a=1; ; b=2"},
                      MergeCase{"item_without_equals_is_its_name", "flag;x=1", "flag", "flag; x=1"},
                      MergeCase{"both_empty", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CookieHelpersTest, NameIsTrimmedTextBeforeFirstEquals) {
  EXPECT_EQ(CookieName(" a =1=2"), "a");
  EXPECT_EQ(CookieName("flag"), "flag");
  EXPECT_TRUE(HasCookieName({"x=1", "a=2"}, "a"));
  EXPECT_FALSE(HasCookieName({"A=2"}, "a"));
}

TEST(CookieHelpersTest, JoinDistinctAndFindItem) {
  EXPECT_EQ(JoinDistinct("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(JoinDistinct("", "; "), "");
  EXPECT_EQ(FindItem({"a", "b", "b"}, "b"), 2);
  EXPECT_EQ(FindItem({"a"}, "A"), -1);
}

TEST(ScanResponseHeadersTest, CollectsCookiesAndLocation) {
  testing::CountingDesktop desktop;
  Text headers =
      "HTTP/1.1 302 Found\r\nset-cookie: a=1; Path=/\r\nSET-COOKIE: b=2\r\nLOCATION: /x\r\n"
      "Location: /next\r\n\r\n";
  Text returned;
  Text location;
  ScanResponseHeaders(headers, returned, &location, nullptr, true);
  EXPECT_EQ(returned, "a=1; b=2");
  EXPECT_EQ(location, "/next");
  EXPECT_EQ(headers,
            "HTTP/1.1 302 Found\r\nSet-Cookie: a=1; Path=/\r\nSet-Cookie: b=2\r\nLOCATION: /x\r\n"
            "Location: /next\r\n\r\n");
  EXPECT_EQ(desktop.events, 6);  // one per line, the empty line ending the block included
}

TEST(ScanResponseHeadersTest, WithoutCookiesOrLocationLeavesValuesAlone) {
  Text headers = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
  Text returned;
  Text location = "kept";
  ScanResponseHeaders(headers, returned, &location, nullptr, true);
  EXPECT_EQ(returned, "");
  EXPECT_EQ(location, "kept");
}

TEST(ScanResponseHeadersTest, AppendsToWhatTheVariableHeld) {
  Text headers = "HTTP/1.1 200 OK\r\nSet-Cookie: b=2\r\n\r\n";
  Text returned = "a=1; ";
  ScanResponseHeaders(headers, returned, nullptr, nullptr, true);
  EXPECT_EQ(returned, "a=1; b=2");
  // Nothing appended: the earlier value keeps its last bytes.
  Text plain = "HTTP/1.1 200 OK\r\n\r\n";
  Text previous = "x=1";
  ScanResponseHeaders(plain, previous, nullptr, nullptr, true);
  EXPECT_EQ(previous, "x=1");
}

TEST(ScanResponseHeadersTest, MergesIntoSuppliedCookies) {
  const struct {
    const char* headers;
    const char* cookies;
    const char* merged;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: b=3; Path=/\r\nSet-Cookie: c=deleted\r\n\r\n",
       "a=1;b=2; c=4", "b=3; a=1"},
      // No Set-Cookie line: the supplied value comes back normalised.
      {"HTTP/1.1 200 OK\r\n\r\n", "a=1;b=2", "a=1; b=2"},
  };
  for (const auto& c : cases) {
    Text headers = c.headers;
    Text returned;
    Text cookies = c.cookies;
    ScanResponseHeaders(headers, returned, nullptr, &cookies, true);
    EXPECT_EQ(returned, c.merged) << c.cookies;
    EXPECT_EQ(cookies, c.merged) << c.cookies;
  }
}

TEST(ScanResponseHeadersTest, WithoutMergeTheSuppliedCookiesStay) {
  Text headers = "HTTP/1.1 200 OK\r\nSet-Cookie: b=3; Path=/\r\nSet-Cookie: c=deleted\r\n\r\n";
  Text returned;
  Text cookies = "a=1;b=2";
  ScanResponseHeaders(headers, returned, nullptr, &cookies, false);
  EXPECT_EQ(returned, "b=3; c=deleted");
  EXPECT_EQ(cookies, "a=1;b=2");
}

}  // namespace
}  // namespace tessaly
