#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "collect/addresses.h"
#include "collect/cookie_file.h"
#include "marketplace_run_fixture.h"

namespace tessaly::testing {
namespace {

using ProductStepTest = MarketplaceRunTest;
using Cookies = std::vector<std::optional<std::string>>;

FixtureProduct Product(const std::string& id, const std::string& title) {
  FixtureProduct product;
  product.id = id;
  product.title = title;
  product.price = "58.00";
  product.item_number = "A-" + id.substr(0, 4);
  return product;
}

TEST_F(ProductStepTest, WritesTheInformationFileAndAllThreeImageFolders) {
  FixtureProduct product = Product("111111111111", "2023新款女装连衣裙");
  product.gallery_images = {FixtureMarketplace::GalleryImage(product.id, 1),
                            FixtureMarketplace::GalleryImage(product.id, 2),
                            FixtureMarketplace::GalleryImage(product.id, 3)};
  product.description_images = {FixtureMarketplace::DescriptionImage(product.id, 1),
                                FixtureMarketplace::DescriptionImage(product.id, 2)};
  product.skus = {{"红色", FixtureMarketplace::SkuImage(product.id, 1)},
                  {"蓝色", FixtureMarketplace::SkuImage(product.id, 2)}};
  marketplace_.AddProduct(product);
  PasteLinks({product.id});

  EXPECT_EQ(Run(), RunEnd::kFinished);

  const std::string folder = "阿里巴巴/2023新款女装连衣裙/";
  const std::string info = InfoFile(product.id, product.title, "A-1111", "58.00");
  EXPECT_EQ(Tree(), TreeOf({
                        "阿里巴巴/",
                        "阿里巴巴/2023新款女装连衣裙/",
                        FileLine(folder + "111111111111.txt", info),
                        folder + "主图/",
                        ImageLine(folder + "主图/1.jpg", product.gallery_images[0]),
                        ImageLine(folder + "主图/2.jpg", product.gallery_images[1]),
                        ImageLine(folder + "主图/3.jpg", product.gallery_images[2]),
                        folder + "详情图/",
                        ImageLine(folder + "详情图/1.jpg", product.description_images[0]),
                        ImageLine(folder + "详情图/2.jpg", product.description_images[1]),
                        folder + "SKU图/",
                        ImageLine(folder + "SKU图/红色.jpg", product.skus[0].second),
                        ImageLine(folder + "SKU图/蓝色.jpg", product.skus[1].second),
                    }));
  EXPECT_EQ(Read(folder + "111111111111.txt"), info);
  EXPECT_EQ(Read(folder + "主图/2.jpg"), FixtureMarketplace::ImageBytes(product.gallery_images[1]));

  // The steps in their order, each picture announced once it is on disk.
  std::vector<std::string> steps;
  for (const std::string& event : window_.Events()) {
    if (event.rfind("read:", 0) == 0 || event.rfind("image:", 0) == 0) steps.push_back(event);
  }
  const std::string root = run_directory_.path() + "/" + folder;
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "read:4", "read:1", "image:" + root + "主图/1.jpg",
                       "image:" + root + "主图/2.jpg", "image:" + root + "主图/3.jpg", "read:3",
                       "image:" + root + "详情图/1.jpg", "image:" + root + "详情图/2.jpg", "read:2",
                       "image:" + root + "SKU图/红色.jpg", "image:" + root + "SKU图/蓝色.jpg"}));
}

TEST_F(ProductStepTest, ProductsWithTheSameTitleShareOneFolderInATypedCategory) {
  FixtureProduct first = Product("111111111111", "同款");
  first.gallery_images = {FixtureMarketplace::GalleryImage(first.id, 1),
                          FixtureMarketplace::GalleryImage(first.id, 2)};
  FixtureProduct second = Product("222222222222", "同款");
  second.gallery_images = {FixtureMarketplace::GalleryImage(second.id, 1)};
  marketplace_.AddProduct(first);
  marketplace_.AddProduct(second);
  PasteLinks({first.id, second.id});
  window_.category = "女装";
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;

  EXPECT_EQ(Run(), RunEnd::kFinished);

  // The second product's pictures count from 1 again and overwrite the first's.
  EXPECT_EQ(
      Tree(),
      TreeOf({
          "女装/",
          "女装/同款/",
          FileLine("女装/同款/111111111111.txt", InfoFile(first.id, "同款", "A-1111", "58.00")),
          FileLine("女装/同款/222222222222.txt", InfoFile(second.id, "同款", "A-2222", "58.00")),
          "女装/同款/主图/",
          ImageLine("女装/同款/主图/1.jpg", second.gallery_images[0]),
          ImageLine("女装/同款/主图/2.jpg", first.gallery_images[1]),
      }));
  EXPECT_EQ(Read("女装/同款/主图/1.jpg"), FixtureMarketplace::ImageBytes(second.gallery_images[0]));
}

TEST_F(ProductStepTest, TitlesBecomeFolderNamesThatStayInTheCategoryFolder) {
  std::string longTitle;
  for (int i = 0; i < 100; ++i) longTitle += "长";
  std::string cutTitle;  // 85 characters: 255 bytes of UTF-8
  for (int i = 0; i < 85; ++i) cutTitle += "长";
  struct Case {
    std::string title;     // in the page
    std::string folder;    // on disk
    std::string recorded;  // in the information file: sanitised, never shortened
  };
  const std::vector<Case> cases = {
      {"春装/夏装?新款", "春装_夏装_新款", "春装_夏装_新款"},
      {"a\\b*c|d", "a_b_c_d", "a_b_c_d"},
      {"..", "_", ".."},
      {".", "_", "."},
      {" . ", "_", " . "},
      {longTitle, cutTitle, longTitle},
  };
  std::vector<std::string> ids;
  std::set<std::string> expected = {"阿里巴巴/"};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string id = std::string(11, '1') + std::to_string(i + 1);
    marketplace_.AddProduct(Product(id, cases[i].title));
    ids.push_back(id);
    const std::string folder = "阿里巴巴/" + cases[i].folder + "/";
    expected.insert(folder);
    expected.insert(
        FileLine(folder + id + ".txt", InfoFile(id, cases[i].recorded, "A-1111", "58.00")));
  }
  PasteLinks(ids);
  for (int box = 1; box <= 3; ++box) window_.ticked[box] = false;

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Tree(), TreeOf({expected.begin(), expected.end()}));
  EXPECT_EQ(Read("阿里巴巴/春装_夏装_新款/111111111111.txt"),
            InfoFile("111111111111", "春装_夏装_新款", "A-1111", "58.00"));
  EXPECT_EQ(Read("阿里巴巴/_/111111111113.txt"), InfoFile("111111111113", "..", "A-1111", "58.00"));
}

TEST_F(ProductStepTest, PageWithoutTitleOrFieldsPutsTheFilesIntoTheCategoryFolder) {
  FixtureProduct product;
  product.id = "333333333333";
  product.gallery_images = {FixtureMarketplace::GalleryImage(product.id, 1)};
  marketplace_.AddProduct(product);
  PasteLinks({product.id});
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Tree(), TreeOf({
                        "阿里巴巴/",
                        FileLine("阿里巴巴/333333333333.txt", InfoFile(product.id, "", "", "")),
                        "阿里巴巴/主图/",
                        ImageLine("阿里巴巴/主图/1.jpg", product.gallery_images[0]),
                        "阿里巴巴/详情图/",
                    }));
}

TEST_F(ProductStepTest, UnreachablePageStillMakesTheFolderAndTheRunGoesOn) {
  // No page is served for the first product: the server answers 404 "not found".
  marketplace_.AddProduct(Product("222222222222", "第二个"));
  PasteLinks({"111111111111", "222222222222"});
  for (int box = 1; box <= 3; ++box) window_.ticked[box] = false;

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_TRUE(NativeExists(run_directory_.Join("阿里巴巴/111111111111.txt")));
  EXPECT_TRUE(NativeExists(run_directory_.Join("阿里巴巴/第二个/222222222222.txt")));
}

TEST_F(ProductStepTest, PagesThatDoNotArriveWholeAreToldAndTheRunGoesOn) {
  // 111111111111 is not served (404); 222222222222 names a description document
  // that cannot be requested; 333333333333 breaks off part-way; 444444444444 is whole
  // and has no description at all, which is no failure.
  FixtureProduct described = Product("222222222222", "描述");
  const std::string unusable = "ftp://itemcdn.1688.com/1688offer/222222222222.html";
  marketplace_.SetProductPage(described.id,
                              Utf8ToGbk("<meta property=\"og:title\" content=\"描述\"/>"
                                        "<div data-tfs-url=\"" +
                                        unusable + "\"></div>"));
  const std::string page = FixtureMarketplace::RenderPage(Product("333333333333", "断开"));
  marketplace_.Server().Handle(
      hosts::kProductHost, FixtureMarketplace::ProductPagePath("333333333333"),
      [page](const auto&, auto& response) {
        response.set_content_provider(
            page.size(), "text/html",
            [page](std::size_t offset, std::size_t, httplib::DataSink& sink) {
              if (offset > 0) return false;  // closes the connection mid-body
              sink.write(page.data(), page.size() / 2);
              return true;
            });
      });
  marketplace_.AddProduct(Product("444444444444", "完整"));
  PasteLinks({"111111111111", "222222222222", "333333333333", "444444444444"});
  window_.ticked[static_cast<int>(CheckBox::kMainImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(window_.EventsOf("page-failed:"),
            (std::vector<std::string>{
                "page-failed:" + PageAddress("111111111111") + "|404 Not Found",
                "page-failed:" + unusable + "|701 解析URL地址失败!",
                "page-failed:" + PageAddress("333333333333") + "|200 OK|cut off",
            }));
  EXPECT_TRUE(NativeExists(run_directory_.Join("阿里巴巴/完整/444444444444.txt")));
}

TEST_F(ProductStepTest, Utf8PageIsDecodedIntoTheGbkInformationFile) {
  FixtureProduct product = Product("444444444444", "纯棉T恤 男款·夏");
  product.item_number = "货号值";
  product.price = "￥39.90";
  product.charset = "utf-8";
  product.skus = {{"深灰色", FixtureMarketplace::SkuImage(product.id, 1)}};
  marketplace_.AddProduct(product);
  PasteLinks({product.id});

  EXPECT_EQ(Run(), RunEnd::kFinished);

  const std::string folder = "阿里巴巴/纯棉T恤 男款·夏/";
  EXPECT_EQ(Read(folder + "444444444444.txt"),
            InfoFile(product.id, "纯棉T恤 男款·夏", "货号值", "￥39.90"));
  EXPECT_TRUE(NativeExists(run_directory_.Join(folder + "SKU图/深灰色.jpg")));
}

TEST_F(ProductStepTest, CheckBoxesAreReadForEachProductWhenTheirStepIsDue) {
  FixtureProduct first = Product("111111111111", "第一");
  first.gallery_images = {FixtureMarketplace::GalleryImage(first.id, 1)};
  first.skus = {{"红色", FixtureMarketplace::SkuImage(first.id, 1)}};
  FixtureProduct second = Product("222222222222", "第二");
  second.gallery_images = {FixtureMarketplace::GalleryImage(second.id, 1)};
  second.skus = {{"红色", FixtureMarketplace::SkuImage(second.id, 1)}};
  marketplace_.AddProduct(first);
  marketplace_.AddProduct(second);
  PasteLinks({first.id, second.id});
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;
  // Cleared while the first product's main pictures are due: the information box
  // was already read for it, the SKU box not yet.
  window_.on_read_box = [this](CheckBox box) {
    if (box == CheckBox::kMainImages) {
      window_.ticked[static_cast<int>(CheckBox::kProductInfo)] = false;
      window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;
    }
  };

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(
      Tree(),
      TreeOf({
          "阿里巴巴/",
          "阿里巴巴/第一/",
          FileLine("阿里巴巴/第一/111111111111.txt", InfoFile(first.id, "第一", "A-1111", "58.00")),
          "阿里巴巴/第一/主图/",
          ImageLine("阿里巴巴/第一/主图/1.jpg", first.gallery_images[0]),
          "阿里巴巴/第二/",
          "阿里巴巴/第二/主图/",
          ImageLine("阿里巴巴/第二/主图/1.jpg", second.gallery_images[0]),
      }));
  std::vector<std::string> reads;
  for (const std::string& event : window_.Events()) {
    if (event.rfind("read:", 0) == 0) reads.push_back(event.substr(5));
  }
  EXPECT_EQ(reads, (std::vector<std::string>{"4", "1", "3", "2", "4", "1", "3", "2"}));
}

TEST_F(ProductStepTest, CookieFileIsReadAgainForEveryProduct) {
  const std::vector<std::string> ids = {"111111111111", "222222222222", "333333333333"};
  for (const std::string& id : ids) marketplace_.AddProduct(Product(id, "商品" + id));
  PasteLinks(ids);
  for (int box = 1; box <= 3; ++box) window_.ticked[box] = false;
  // The settings window saves a value between two products, later an empty one.
  int productsSeen = 0;
  window_.on_read_box = [&](CheckBox box) {
    if (box != CheckBox::kProductInfo) return;
    ++productsSeen;
    if (productsSeen == 1) WriteCookieFile("cna=abc; _tb_token_=x1");
    if (productsSeen == 2) WriteCookieFile("");
  };

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(marketplace_.ProductPageCookies(),
            (Cookies{std::nullopt, "cna=abc; _tb_token_=x1", std::nullopt}));
}

class WallTest : public MarketplaceRunTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WallTest, StopsTheRunAndOpensTheSettingsWindowFromTheRunsThread) {
  const std::string blocked = "111111111111";
  if (GetParam()) {
    FixtureProduct wall;
    wall.id = blocked;
    wall.wall = true;
    marketplace_.AddProduct(wall);
  } else {
    marketplace_.SetProductPage(
        blocked,
        "<html><head><meta property=\"og:title\" content=\"wall\"/></head><body><img src=\"" +
            GbkToUtf8(WallMarkerImageAddress()) + "\"/></body></html>");
  }
  marketplace_.AddProduct(Product("222222222222", "下一个"));
  PasteLinks({blocked, "222222222222"});
  window_.SetStartEnabled(false);
  std::thread::id settingsThread;
  std::string addressWhenOpened;
  window_.on_settings_window = [&] {
    settingsThread = std::this_thread::get_id();
    addressWhenOpened = GbkToUtf8(GetCookiePageAddress());
  };

  RunEnd end = RunEnd::kFinished;
  std::thread worker([&] { end = Run(); });
  const std::thread::id workerId = worker.get_id();
  worker.join();

  EXPECT_EQ(end, RunEnd::kAntiScraping);
  EXPECT_EQ(settingsThread, workerId);
  EXPECT_EQ(addressWhenOpened, PageAddress(blocked));
  EXPECT_EQ(GbkToUtf8(GetCookiePageAddress()), PageAddress(blocked));
  const std::vector<std::string> events = window_.Events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(
      std::vector<std::string>(events.end() - 3, events.end()),
      (std::vector<std::string>{"status:遇到防采集，请更新cookies", "enabled:1", "settings"}));
  EXPECT_EQ(window_.Statuses(),
            (std::vector<std::string>{"程序启动......", "共检测到 2 个宝贝，正在下载第 1 个",
                                      "遇到防采集，请更新cookies"}));
  EXPECT_TRUE(window_.start_enabled());
  EXPECT_EQ(Tree(), "");
  EXPECT_EQ(marketplace_.PathsRequested(hosts::kProductHost),
            std::vector<std::string>{"/offer/111111111111.html"});
}

INSTANTIATE_TEST_SUITE_P(LoginTextOrMarkerImage, WallTest, ::testing::Bool());

}  // namespace
}  // namespace tessaly::testing
