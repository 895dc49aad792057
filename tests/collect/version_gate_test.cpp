#include <string>
#include <vector>

#include "collect/addresses.h"
#include "marketplace_run_fixture.h"

namespace tessaly::testing {
namespace {

class VersionGateTest : public MarketplaceRunTest {
 protected:
  VersionGateTest() {
    FixtureProduct product;
    product.id = "111111111111";
    product.title = "连衣裙";
    marketplace_.AddProduct(product);
    PasteLinks({product.id});
    // As the start button leaves it.
    window_.SetStartEnabled(false);
  }

  // Everything after the run's first status, except the box reads.
  std::vector<std::string> EventsAfterStart() const {
    std::vector<std::string> events;
    for (const std::string& event : window_.Events()) {
      if (event.rfind("read:", 0) == 0 || event.rfind("image:", 0) == 0) continue;
      events.push_back(event);
    }
    return std::vector<std::string>(events.begin() + 2, events.end());
  }
};

TEST_F(VersionGateTest, RemoteVersionNotAboveOneLetsTheRunGoOn) {
  for (const char* version : {"1", "0", "1\r\n", "not a number", "-5"}) {
    SCOPED_TRACE(version);
    marketplace_.SetVersionText(version);
    marketplace_.Server().ClearRequests();

    EXPECT_EQ(Run(), RunEnd::kFinished);
    EXPECT_EQ(marketplace_.PathsRequested(hosts::kProductHost),
              std::vector<std::string>{"/offer/111111111111.html"});
  }
  for (const std::string& event : window_.Events()) {
    EXPECT_EQ(event.rfind("message:", 0), std::string::npos) << event;
  }
}

TEST_F(VersionGateTest, NewerVersionRecommendsTheUpdateThenOpensTheReleasePage) {
  const std::string release = GbkToUtf8(ReleasePageAddress());
  ASSERT_EQ(release, std::string("https://") + hosts::kWebHost + "/archives/311");
  for (const char* version : {"2", "2\r\n", "10"}) {
    SCOPED_TRACE(version);
    marketplace_.SetVersionText(version);
    FakeWindow window;
    window.links = window_.links;
    window.SetStartEnabled(false);

    EXPECT_EQ(CollectionRun(window), RunEnd::kVersionGate);

    EXPECT_EQ(window.Events(), (std::vector<std::string>{
                                   "enabled:0",
                                   "status:程序启动......",
                                   "category",
                                   "message:|有新版本了，建议更新\r\n" + release,
                                   "url:" + release,
                               }));
    EXPECT_FALSE(window.start_enabled());
  }
  EXPECT_TRUE(marketplace_.PathsRequested(hosts::kProductHost).empty());
  EXPECT_EQ(Tree(), "");
}

TEST_F(VersionGateTest, UnreachableEndpointReportsTheNetworkAndEndsTheRun) {
  marketplace_.SetVersionReachable(false);

  EXPECT_EQ(Run(), RunEnd::kVersionGate);

  EXPECT_EQ(EventsAfterStart(),
            (std::vector<std::string>{"category", "message:|网络似乎有问题！"}));
  EXPECT_EQ(window_.Statuses(), std::vector<std::string>{"程序启动......"});
  EXPECT_FALSE(window_.start_enabled());
  // The refused connection never reached the server; nothing else was asked for.
  EXPECT_TRUE(marketplace_.Requests().empty());
  EXPECT_EQ(Tree(), "");

  marketplace_.SetVersionReachable(true);
  EXPECT_EQ(Run(), RunEnd::kFinished);
}

}  // namespace
}  // namespace tessaly::testing
