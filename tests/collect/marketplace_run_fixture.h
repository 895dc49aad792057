#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "collect/collection_run.h"
#include "collect/cookie_page_address.h"
#include "config/hosts.h"
#include "support/fake_window.h"
#include "support/fixture_marketplace.h"
#include "support/temp_dir.h"
#include "text/gbk.h"

namespace tessaly::testing {

// Whole runs through CollectionRun against the fixture marketplace, without a
// display, in a fresh run directory.
class MarketplaceRunTest : public ::testing::Test {
 protected:
  MarketplaceRunTest() : seams_(marketplace_) { SetCookiePageAddress({}); }
  ~MarketplaceRunTest() override { SetCookiePageAddress({}); }

  static std::string PageAddress(const std::string& id) {
    return std::string("https://") + hosts::kProductHost + FixtureMarketplace::ProductPagePath(id);
  }

  // Links of the given products, one a line, as a user pastes them.
  void PasteLinks(const std::vector<std::string>& ids) {
    window_.links.clear();
    for (const std::string& id : ids) window_.links += PageAddress(id) + "\n";
  }

  RunEnd Run() { return CollectionRun(window_); }

  std::string Tree() const { return DescribeTree(run_directory_.path()); }
  std::string Read(const std::string& relative) const {
    return ReadNativeFile(run_directory_.Join(relative));
  }

  // DescribeTree's form of the given lines ("folder/" or "file (size)").
  static std::string TreeOf(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    std::string tree;
    for (const std::string& line : lines) tree += line + "\n";
    return tree;
  }
  static std::string FileLine(const std::string& path, const std::string& content) {
    return path + " (" + std::to_string(content.size()) + ")";
  }
  static std::string ImageLine(const std::string& path, const std::string& address) {
    return FileLine(path, FixtureMarketplace::ImageBytes(address));
  }

  // The information file's bytes, GBK.
  static std::string InfoFile(const std::string& id, const std::string& title,
                              const std::string& item, const std::string& price) {
    return Utf8ToGbk("宝贝id：" + id + "\r\n宝贝链接：" + PageAddress(id) + "\r\n标题：" + title +
                     "\r\n货号：" + item + "\r\n价格：" + price);
  }

  TempDir run_directory_{true};
  FixtureMarketplace marketplace_;
  MarketplaceSeams seams_;
  FakeWindow window_;
};

}  // namespace tessaly::testing
