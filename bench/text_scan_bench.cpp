// Times the character-aware scans over a product page of about 2 MB of GBK text
// against std::string::find on the same bytes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "text/gbk.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

using namespace tessaly;

namespace {

Text BuildPage(std::size_t target_size) {
  const Text block =
      "<div class=\"offer-attr\"><span class=\"name\">品牌</span><span class=\"value\">"
      "源头工厂直销 夏季新款纯棉短袖T恤 男女同款宽松</span></div>\n"
      "<li data-sku='{\"name\":\"白色 XL\",\"price\":\"29.90\"}'>颜色分类：白色</li>\n"
      "<p>货号：A-2023 发货地：浙江 义乌　起批量≥2件 ¥29.90 - ¥35.00</p>\n"_gbk;
  Text page = "<html><head><meta charset=\"gbk\"></head><body>\n";
  page.reserve(target_size + 512);
  while (page.size() < target_size) page += block;
  page += "<meta property=\"og:title\" content=\"纯棉短袖T恤\"/>\n"_gbk;
  page += block;
  page += "</body></html>\n";
  return page;
}

// Best of a few runs, in seconds.
double Time(int repeats, const std::function<void()>& work) {
  double best = 1e9;
  for (int run = 0; run < repeats; ++run) {
    const auto begin = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    best = std::min(best, took.count());
  }
  return best;
}

volatile long long sink = 0;

}  // namespace

int main() {
  const Text page = BuildPage(2 * 1024 * 1024);
  const double megabytes = static_cast<double>(page.size()) / (1024.0 * 1024.0);
  const Text title = "og:title\" content=\"";
  const Text missing = "data-missing-marker=\"";
  constexpr int kRepeats = 30;

  struct Row {
    const char* name;
    double seconds;
    double baseline;  // 0: no std::string counterpart
  };
  std::vector<Row> rows;

  const double std_title =
      Time(kRepeats, [&] { sink = sink + static_cast<long long>(page.find(title)); });
  const double std_missing =
      Time(kRepeats, [&] { sink = sink + static_cast<long long>(page.find(missing)); });
  rows.push_back({"std::string::find, marker near end", std_title, 0});
  rows.push_back({"std::string::find, missing marker", std_missing, 0});
  rows.push_back({"FindText, marker near end",
                  Time(kRepeats, [&] { sink = sink + FindText(page, title); }), std_title});
  rows.push_back({"FindText, missing marker",
                  Time(kRepeats, [&] { sink = sink + FindText(page, missing); }), std_missing});
  rows.push_back({"FindText ignoring case, near end",
                  Time(kRepeats, [&] { sink = sink + FindText(page, title, 1, true); }),
                  std_title});
  rows.push_back({"FindText ignoring case, missing",
                  Time(kRepeats, [&] { sink = sink + FindText(page, missing, 1, true); }),
                  std_missing});
  rows.push_back({"ReplaceText \"class=\" (all)",
                  Time(10,
                       [&] {
                         sink = sink + static_cast<long long>(
                                           ReplaceText(page, "class=", "klass=").size());
                       }),
                  0});
  TextArray items;
  rows.push_back({"AllTextsBetween name\":\" .. \"",
                  Time(10, [&] { sink = sink + AllTextsBetween(page, "name\":\"", "\"", items); }),
                  0});
  rows.push_back(
      {"TextBetween title",
       Time(kRepeats,
            [&] { sink = sink + static_cast<long long>(TextBetween(page, title, "\"").size()); }),
       0});

  std::printf("page: %.2f MB, %d name elements\n\n", megabytes, items.Count());
  std::printf("%-38s %10s %10s %8s\n", "operation", "ms", "MB/s", "vs std");
  for (const Row& row : rows) {
    std::printf("%-38s %10.3f %10.0f", row.name, row.seconds * 1e3, megabytes / row.seconds);
    if (row.baseline > 0) {
      std::printf(" %7.2fx", row.seconds / row.baseline);
    }
    std::printf("\n");
  }
  return 0;
}
