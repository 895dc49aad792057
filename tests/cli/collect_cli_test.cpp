#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "collector_process.h"
#include "config/hosts.h"
#include "support/fixture_marketplace.h"
#include "support/temp_dir.h"
#include "text/gbk.h"

namespace tessaly::testing {
namespace {

using Lines = std::vector<std::string>;

const char kStarted[] = "程序启动......";
const char kFinished[] = "下载完毕,点击查看！";

FixtureProduct Shirt() {
  FixtureProduct product;
  product.id = "610000000001";
  product.title = "夏季新款/纯棉T恤";
  product.price = "12.50";
  product.item_number = "T-001";
  product.gallery_images = {FixtureMarketplace::GalleryImage(product.id, 1),
                            FixtureMarketplace::GalleryImage(product.id, 2)};
  product.description_images = {FixtureMarketplace::DescriptionImage(product.id, 1),
                                FixtureMarketplace::DescriptionImage(product.id, 2)};
  product.skus = {{"红色", FixtureMarketplace::SkuImage(product.id, 1)},
                  {"黑/白", FixtureMarketplace::SkuImage(product.id, 2)}};
  return product;
}

FixtureProduct Cup() {
  FixtureProduct product;
  product.id = "610000000002";
  product.title = "陶瓷茶杯";
  product.price = "8.00";
  product.gallery_images = {FixtureMarketplace::GalleryImage(product.id, 1)};
  product.charset = "utf-8";
  return product;
}

std::string Link(const FixtureProduct& product) {
  return "https://detail.1688.com/offer/" + product.id + ".html";
}

std::string Sized(const std::string& name, std::size_t size) {
  return name + " (" + std::to_string(size) + ")";
}

std::string ImageLine(const std::string& name, const std::string& address) {
  return Sized(name, FixtureMarketplace::ImageBytes(address).size());
}

std::string InfoFile(const FixtureProduct& product, const std::string& folder_name) {
  return Utf8ToGbk("宝贝id：" + product.id + "\r\n宝贝链接：https://" + hosts::kProductHost +
                   "/offer/" + product.id + ".html\r\n标题：" + folder_name + "\r\n货号：" +
                   product.item_number + "\r\n价格：" + product.price);
}

// What a run with every box ticked leaves for `product` in its product folder.
Lines ProductTree(const std::string& folder, const FixtureProduct& product,
                  const std::string& folder_name) {
  Lines lines = {folder + "/",
                 Sized(folder + "/" + product.id + ".txt", InfoFile(product, folder_name).size()),
                 folder + "/主图/", folder + "/详情图/", folder + "/SKU图/"};
  for (std::size_t i = 0; i < product.gallery_images.size(); ++i) {
    lines.push_back(
        ImageLine(folder + "/主图/" + std::to_string(i + 1) + ".jpg", product.gallery_images[i]));
  }
  for (std::size_t i = 0; i < product.description_images.size(); ++i) {
    lines.push_back(ImageLine(folder + "/详情图/" + std::to_string(i + 1) + ".jpg",
                              product.description_images[i]));
  }
  for (const auto& [name, address] : product.skus) {
    std::string file = name;
    std::replace(file.begin(), file.end(), '/', '_');
    lines.push_back(ImageLine(folder + "/SKU图/" + file + ".jpg", address));
  }
  return lines;
}

std::string Tree(Lines lines) {
  std::sort(lines.begin(), lines.end());
  std::string tree;
  for (const std::string& line : lines) tree += line + "\n";
  return tree;
}

Lines ProgressLines(int count) {
  Lines lines;
  for (int i = 1; i <= count; ++i) {
    lines.push_back("共检测到 " + std::to_string(count) + " 个宝贝，正在下载第 " +
                    std::to_string(i) + " 个");
  }
  return lines;
}

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CollectCliTest : public ::testing::Test {
 protected:
  CollectCliTest() : seams_(marketplace_) {
    marketplace_.AddProduct(Shirt());
    marketplace_.AddProduct(Cup());
  }

  // Runs in `run_directory_` with the links in a file of their own.
  CollectorResult Collect(const std::string& links, std::vector<std::string> more = {}) {
    const std::string file = files_.Join("links.txt");
    WriteNativeFile(file, links);
    std::vector<std::string> arguments = {"--dir", run_directory_.path()};
    arguments.insert(arguments.end(), more.begin(), more.end());
    arguments.push_back(file);
    return RunCollector({arguments});
  }

  FixtureMarketplace marketplace_;
  MarketplaceSeams seams_;
  TempDir run_directory_;
  TempDir files_;  // inputs that are not part of the run directory
};

TEST_F(CollectCliTest, CollectsEveryLinkIntoTheTreeAndPrintsTheStatusesInOrder) {
  WriteNativeFile(run_directory_.Join("阿里cookies.txt"), "cna=abc; _tb_token_=t1");

  const CollectorResult result =
      Collect("第一个：" + Link(Shirt()) + "\n" + Link(Cup()) + "?spm=a26352\n");

  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.OutLines(), Concat({{kStarted}, ProgressLines(2), {kFinished}}));
  EXPECT_EQ(DescribeTree(run_directory_.path()),
            Tree(Concat({{Sized("阿里cookies.txt", 22), "阿里巴巴/"},
                         ProductTree("阿里巴巴/夏季新款_纯棉T恤", Shirt(), "夏季新款_纯棉T恤"),
                         ProductTree("阿里巴巴/陶瓷茶杯", Cup(), "陶瓷茶杯")})));
  EXPECT_EQ(ReadNativeFile(run_directory_.Join("阿里巴巴/夏季新款_纯棉T恤/610000000001.txt")),
            InfoFile(Shirt(), "夏季新款_纯棉T恤"));
  EXPECT_EQ(marketplace_.ProductPageCookies(),
            (std::vector<std::optional<std::string>>(2, "cna=abc; _tb_token_=t1")));
  EXPECT_EQ(result.err,
            "7 images saved, 0 empty placeholders, 0 earlier files kept; the products "
            "are in " +
                ShownPath(run_directory_.Join("阿里巴巴")) + "\n");
}

TEST_F(CollectCliTest, RunWithPagesOrPicturesMissingEndsWithCodeFourAndSaysWhatIsMissing) {
  const FixtureProduct shirt = Shirt();
  // An earlier run left the first main picture, which the marketplace now refuses.
  const std::string folder = run_directory_.Join("阿里巴巴/夏季新款_纯棉T恤/");
  std::filesystem::create_directories(folder + "主图");
  WriteNativeFile(folder + "主图/1.jpg", "earlier picture");
  marketplace_.SetImageStatus(shirt.gallery_images[0], 404);
  marketplace_.SetImageStatus(shirt.description_images[0], 500);
  marketplace_.SetImageStatus(shirt.skus[1].second, FixtureMarketplace::kCutOff);
  const std::string missing = std::string("https://") + hosts::kProductHost +
                              FixtureMarketplace::ProductPagePath("610000000003");

  const CollectorResult result = Collect(Link(Shirt()) + "\n" + missing + "\n" + Link(Cup()));

  EXPECT_EQ(result.exit_code, 4);
  EXPECT_EQ(result.OutLines(), Concat({{kStarted}, ProgressLines(3), {kFinished}}));
  EXPECT_EQ(
      result.err,
      "picture failed: " + shirt.gallery_images[0] + ": HTTP 404; kept the earlier file " +
          ShownPath(folder + "主图/1.jpg") + "\n" + "picture failed: " +
          shirt.description_images[0] + ": HTTP 500; wrote an empty placeholder " +
          ShownPath(folder + "详情图/1.jpg") + "\n" + "picture failed: " + shirt.skus[1].second +
          ": cut off; saved the part that arrived as " + ShownPath(folder + "SKU图/黑_白.jpg") +
          "\n" + "page failed: " + missing + ": 404 Not Found\n" +
          "5 images saved (1 of them cut off), 1 empty placeholder, 1 earlier file kept; "
          "the products are in " +
          ShownPath(run_directory_.Join("阿里巴巴")) + "\n");
  EXPECT_EQ(ReadNativeFile(folder + "主图/1.jpg"), "earlier picture");
}

TEST_F(CollectCliTest, SummaryNamesNoOutputFolderThatCouldNotBeMade) {
  WriteNativeFile(run_directory_.Join("阿里巴巴"), "a file in the way");

  const CollectorResult result = Collect(Link(Cup()));

  EXPECT_EQ(result.OutLines(), Concat({{kStarted}, ProgressLines(1), {kFinished}}));
  EXPECT_EQ(result.err,
            "0 images saved, 0 empty placeholders, 0 earlier files kept; the output folder "
            "could not be made\n");
}

TEST_F(CollectCliTest, CategoryAndUntickedBoxesShapeTheTree) {
  const CollectorResult result = Collect(
      Link(Cup()), {"--category", "厨房用品", "--no-main", "--no-sku", "--no-desc", "--no-info"});

  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(DescribeTree(run_directory_.path()), "厨房用品/\n厨房用品/陶瓷茶杯/\n");
}

TEST_F(CollectCliTest, ReadsTheLinksFromStandardInput) {
  for (const std::vector<std::string>& file_argument :
       {std::vector<std::string>{}, std::vector<std::string>{"-"}}) {
    std::vector<std::string> arguments = {"--dir", run_directory_.path(), "--no-main", "--no-sku",
                                          "--no-desc"};
    arguments.insert(arguments.end(), file_argument.begin(), file_argument.end());
    const CollectorResult result = RunCollector({arguments, Link(Cup()) + "\n"});

    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.OutLines(), Concat({{kStarted}, ProgressLines(1), {kFinished}}));
    EXPECT_TRUE(NativeExists(run_directory_.Join("阿里巴巴/陶瓷茶杯/610000000002.txt")));
  }
}

TEST_F(CollectCliTest, RunsInTheCurrentFolderWithoutDir) {
  const CollectorResult result = RunCollector(
      {{"--no-main", "--no-sku", "--no-desc", "--no-info"}, Link(Cup()), run_directory_.path()});

  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(NativeIsDirectory(run_directory_.Join("阿里巴巴/陶瓷茶杯")));
}

TEST_F(CollectCliTest, CreatesARunDirectoryThatDoesNotExistYet) {
  const std::string missing = run_directory_.Join("新目录/输出");

  const CollectorResult result =
      RunCollector({{"--dir", missing, "--no-main", "--no-sku", "--no-desc"}, Link(Cup())});

  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(NativeExists(missing + "/阿里巴巴/陶瓷茶杯/610000000002.txt"));
  EXPECT_TRUE(Contains(result.err, "created the run directory")) << result.err;
}

TEST_F(CollectCliTest, CookiesOptionReplacesTheRunDirectorysCookieFile) {
  WriteNativeFile(run_directory_.Join("阿里cookies.txt"), "from=run-directory");
  const std::string cookies = files_.Join("浏览器 cookies.txt");
  WriteNativeFile(cookies, "from=option");

  const CollectorResult result = Collect(Link(Cup()), {"--cookies", cookies});

  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(marketplace_.ProductPageCookies(),
            (std::vector<std::optional<std::string>>{"from=option"}));
}

TEST_F(CollectCliTest, NoProductIdEndsWithCodeOne) {
  const CollectorResult result = Collect("https://detail.1688.com/offer/12345.html");

  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.OutLines(), (Lines{kStarted, "未检测到宝贝ID"}));
}

TEST_F(CollectCliTest, VersionGateEndsWithCodeTwoAndTheMessageOnStandardError) {
  struct Case {
    std::string version_text;
    bool reachable;
    std::string message;
    bool opens_release_page;
  };
  const std::string release = std::string("https://") + hosts::kWebHost + "/archives/311";
  for (const Case& c : {Case{"2\r\n", true, "信息：有新版本了，建议更新\n" + release, true},
                        Case{"1", false, "信息：网络似乎有问题！", false}}) {
    SCOPED_TRACE(c.message);
    marketplace_.SetVersionText(c.version_text);
    marketplace_.SetVersionReachable(c.reachable);

    const CollectorResult result = Collect(Link(Cup()));

    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.OutLines(), (Lines{kStarted}));
    EXPECT_TRUE(Contains(result.err, c.message)) << result.err;
    EXPECT_EQ(Contains(result.err, "open in a browser: " + release), c.opens_release_page)
        << result.err;
    EXPECT_EQ(DescribeTree(run_directory_.path()), "");
  }
}

TEST_F(CollectCliTest, AntiScrapingWallEndsWithCodeThreeAndSaysWhereTheCookiesGo) {
  FixtureProduct walled = Cup();
  walled.id = "610000000009";
  walled.wall = true;
  marketplace_.AddProduct(walled);

  const CollectorResult result = Collect(Link(Cup()) + "\n" + Link(walled) + "\n" + Link(Shirt()));

  EXPECT_EQ(result.exit_code, 3);
  const Lines progress = ProgressLines(3);
  EXPECT_EQ(result.OutLines(),
            (Lines{kStarted, progress[0], progress[1], "遇到防采集，请更新cookies"}));
  EXPECT_TRUE(Contains(result.err, ShownPath(run_directory_.Join("阿里cookies.txt"))))
      << result.err;
  EXPECT_TRUE(Contains(result.err, Link(walled))) << result.err;
  EXPECT_FALSE(NativeExists(run_directory_.Join("阿里巴巴/夏季新款_纯棉T恤")));
}

TEST_F(CollectCliTest, UnusableInputsEndWithCodeSixtySixBeforeAnyRequest) {
  const std::string file_in_the_way = files_.Join("a-file");
  WriteNativeFile(file_in_the_way, "x");
  const std::string links = files_.Join("links.txt");
  WriteNativeFile(links, Link(Cup()));
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  for (const Case& c : {
           Case{{files_.Join("missing.txt")}, "cannot read links file"},
           Case{{files_.path()}, "Is a directory"},
           Case{{"--cookies", files_.Join("missing-cookies.txt"), links},
                "cannot read cookie file"},
           Case{{"--cookies", files_.path(), links}, "cannot read cookie file"},
           Case{{"--dir", file_in_the_way, links}, "as the run directory"},
           Case{{"--dir", file_in_the_way + "/below", links}, "as the run directory"},
           // GBK has no emoji: the run could not name its files there.
           Case{{"--dir", run_directory_.Join("输出😀"), links}, "outside GBK"},
       }) {
    SCOPED_TRACE(c.message);
    const CollectorResult result = RunCollector({c.arguments, "", run_directory_.path()});

    EXPECT_EQ(result.exit_code, 66);
    EXPECT_TRUE(Contains(result.err, c.message)) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_TRUE(marketplace_.Requests().empty());
  EXPECT_EQ(DescribeTree(run_directory_.path()), "");
}

TEST_F(CollectCliTest, BadUsageEndsWithCodeSixtyFour) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--bogus"},
           {"--dir"},
           {"--dir="},
           {"--no-main=yes"},
           {"links-a.txt", "links-b.txt"},
           {"--category", "表情😀"},  // would be written as another name
       }) {
    const CollectorResult result = RunCollector({arguments, "", run_directory_.path()});

    EXPECT_EQ(result.exit_code, 64) << arguments[0];
    EXPECT_TRUE(Contains(result.err, "--help")) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_TRUE(marketplace_.Requests().empty());
}

TEST_F(CollectCliTest, HelpListsTheExitCodes) {
  const CollectorResult result = RunCollector({{"--help"}});

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(Contains(result.out, "Usage: tessaly-collect [options] [LINKS_FILE]"));
  for (const char* code : {"  0 ", "  1 ", "  2 ", "  3 ", "  4 ", "  64 ", "  66 "}) {
    EXPECT_TRUE(Contains(result.out, code)) << code;
  }
  EXPECT_TRUE(marketplace_.Requests().empty());
}

TEST_F(CollectCliTest, TestCollectorVariableRunsAWrapperInsteadOfTheBuiltBinary) {
  const std::string wrapper = files_.Join("wrapper.sh");
  WriteNativeFile(wrapper, std::string("#!/bin/sh\necho wrapped \"$@\" >&2\nexec '") +
                               TESSALY_COLLECT_BINARY + "' \"$@\"\n");
  std::filesystem::permissions(wrapper, std::filesystem::perms::owner_all);
  const ScopedEnv chosen("TESSALY_TEST_COLLECTOR", wrapper);

  const CollectorResult result = RunCollector({{"--help"}});

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err, "wrapped --help\n");
  EXPECT_TRUE(Contains(result.out, "Usage: tessaly-collect"));
}

TEST_F(CollectCliTest, OnATerminalTheProgressIsOneLineRedrawnInPlace) {
  const std::string file = files_.Join("links.txt");
  WriteNativeFile(file, Link(Shirt()) + "\n" + Link(Cup()));

  CollectorCall call{{"--dir", run_directory_.path(), file}};
  call.terminal = true;
  const CollectorResult result = RunCollector(call);

  ASSERT_EQ(result.exit_code, 0) << result.err;
  // The terminal turns "\n" into "\r\n"; between the first and the last status no
  // line ends, only carriage returns redraw the progress.
  std::string out = result.out;
  if (WindowsCollector()) {
    // Wine's console redraws what the program wrote in its own terms: it hides
    // the cursor around each write, ends lines with "\r\n" (which the terminal
    // makes "\r\r\n"), and leaves out a "\r" at the start of a line. Said back in
    // the Linux program's terms, the same checks hold.
    const auto replace = [&out](const std::string& from, const std::string& to) {
      for (std::size_t at = out.find(from); at != std::string::npos;
           at = out.find(from, at + to.size())) {
        out.replace(at, from.size(), to);
      }
    };
    replace("\x1b[?25l", "");
    replace("\x1b[?25h", "");
    replace("\r\r\n", "\r\n");
    replace("\r\n\x1b[K", "\r\n\r\x1b[K");
  }
  const std::size_t first = out.find("\r\x1b[K共检测到 2 个宝贝，正在下载第 1 个");
  const std::size_t second = out.find("\r\x1b[K共检测到 2 个宝贝，正在下载第 2 个");
  const std::size_t last = out.find("7 images saved)\r\n下载完毕,点击查看！");
  ASSERT_NE(first, std::string::npos) << out;
  ASSERT_NE(second, std::string::npos) << out;
  ASSERT_NE(last, std::string::npos) << out;
  EXPECT_LT(first, second);
  EXPECT_EQ(out.substr(first, last - first).find('\n'), std::string::npos) << out;
}

}  // namespace
}  // namespace tessaly::testing
