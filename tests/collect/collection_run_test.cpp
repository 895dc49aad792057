#include "collect/collection_run.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "config/hosts.h"
#include "support/fake_window.h"
#include "support/fixture_server.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

using testing::FakeWindow;
using testing::FixtureServer;
using testing::ScopedSeams;
using testing::TempDir;

// A marketplace that lets every run through the version gate and answers every
// product page with an ordinary page, so these tests see the loop alone.
class CollectionRunTest : public ::testing::Test {
 protected:
  CollectionRunTest() : seams_(server_) {
    server_.Handle(hosts::kWebHost, "/e/yz/didud_uvadadu.txt",
                   [](const auto&, auto& response) { response.set_content("1", "text/plain"); });
    for (bool& box : window_.ticked) box = false;
  }

  std::vector<std::string> ProductPagesRequested() const {
    std::vector<std::string> paths;
    for (const auto& request : server_.Requests()) {
      if (request.host == hosts::kProductHost) paths.push_back(request.path);
    }
    return paths;
  }

  TempDir run_directory_{true};
  FixtureServer server_;
  ScopedSeams seams_;
  FakeWindow window_;
};

TEST_F(CollectionRunTest, EmptyLinkBoxEndsWithNoIdFoundAfterTheGate) {
  EXPECT_EQ(CollectionRun(window_), RunEnd::kNoProductId);

  EXPECT_EQ(window_.Statuses(), (std::vector<std::string>{"程序启动......", "未检测到宝贝ID"}));
  EXPECT_TRUE(window_.start_enabled());
  ASSERT_EQ(server_.Requests().size(), 1u);  // the version text, even with no links
  EXPECT_EQ(server_.Requests()[0].path, "/e/yz/didud_uvadadu.txt");
}

TEST_F(CollectionRunTest, ReportsProgressForEveryLinkInOrder) {
  window_.links =
      "https://detail.1688.com/offer/111111111111.html\n"
      "garbage 222222222222.HTML text https://detail.1688.com/offer/3333333333333.html";

  EXPECT_EQ(CollectionRun(window_), RunEnd::kFinished);

  EXPECT_EQ(window_.Statuses(), (std::vector<std::string>{
                                    "程序启动......",
                                    "共检测到 3 个宝贝，正在下载第 1 个",
                                    "共检测到 3 个宝贝，正在下载第 2 个",
                                    "共检测到 3 个宝贝，正在下载第 3 个",
                                    "下载完毕,点击查看！",
                                }));
  EXPECT_TRUE(window_.start_enabled());
  // Case is ignored when finding, the ending is kept as written, and thirteen
  // digits give their last twelve.
  EXPECT_EQ(ProductPagesRequested(),
            (std::vector<std::string>{"/offer/111111111111.html", "/offer/222222222222.HTML",
                                      "/offer/333333333333.html"}));
}

TEST_F(CollectionRunTest, DuplicatedLinkIsCollectedTwice) {
  window_.links = "111111111111.html 111111111111.html";

  EXPECT_EQ(CollectionRun(window_), RunEnd::kFinished);

  EXPECT_EQ(window_.Statuses()[2], "共检测到 2 个宝贝，正在下载第 2 个");
  EXPECT_EQ(ProductPagesRequested().size(), 2u);
}

TEST_F(CollectionRunTest, ReadsTheCategoryOnceBeforeTheLinks) {
  window_.links = "111111111111.html\n222222222222.html";
  window_.category = "鞋子";

  CollectionRun(window_);

  std::vector<std::string> reads;
  for (const std::string& event : window_.Events()) {
    if (event == "category" || event == "links") reads.push_back(event);
  }
  EXPECT_EQ(reads, (std::vector<std::string>{"category", "links"}));
  EXPECT_TRUE(testing::NativeIsDirectory(run_directory_.Join("鞋子")));
}

TEST_F(CollectionRunTest, StartButtonRunsOnAWorkerWithTheButtonDisabledFirst) {
  window_.links = "111111111111.html";
  server_.Handle(hosts::kProductHost, "/offer/111111111111.html", [&](const auto&, auto& response) {
    response.set_content("<html/>", "text/html");
  });

  StartButtonClick(window_);
  const std::vector<std::string> first = window_.Events();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.front(), "enabled:0");

  for (int i = 0; i < 500 && !window_.start_enabled(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(window_.start_enabled());
  EXPECT_EQ(window_.Statuses().back(), "下载完毕,点击查看！");
}

}  // namespace
}  // namespace tessaly
