#include "http/registrable_domain.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(SameRegistrableDomainTest, FollowsThePublicSuffixList) {
  const struct {
    const char* first;
    const char* host;
    bool same;
  } cases[] = {
      {"detail.1688.com", "detail.1688.com", true},
      {"detail.1688.com", "login.1688.com", true},
      {"detail.1688.com", "a.b.1688.com", true},
      {"detail.1688.com", "1688.com", true},
      {"1688.com", "m.1688.com", true},
      {"detail.1688.com", "1688.com.example", false},
      {"detail.1688.com", "x1688.com", false},
      {"detail.1688.com", "alicdn.com", false},
      {"detail.1688.com", "com", false},
      // Two-label public suffixes: a rule of "the last two labels" would join these.
      {"www.shop.com.cn", "m.shop.com.cn", true},
      {"www.shop.com.cn", "other.com.cn", false},
      {"www.shop.com.cn", "com.cn", false},
      {"a.github.io", "b.github.io", false},
      // A public suffix or an address matches only itself.
      {"com.cn", "a.com.cn", false},
      {"com.cn", "com.cn", true},
      {"127.0.0.1", "10.0.0.1", false},
      {"[::1]", "[::2]", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameRegistrableDomain(c.first, c.host), c.same) << c.first << " " << c.host;
  }
}

}  // namespace
}  // namespace tessaly
