// Whole runs against a marketplace and a disk that fail in the ways the real ones
// do: a page cut off mid-way, pictures that all fail or redirect forever, redirects
// that would carry the user's cookie elsewhere, a twenty-megabyte page, folders and
// files that cannot be made, a full disk, a cookie file that changes under the run.
// What must hold each time: the run ends or goes on as it should, no good earlier
// file is replaced by a worse one, no temporary file is left behind, and the user's
// cookie reaches nothing but the product pages over https.
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "collect/cookie_file.h"
#include "marketplace_run_fixture.h"
#include "text/file_primitives.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Temporary files the atomic writes would leave if one went wrong.
std::vector<std::string> Temporaries(const std::string& root) {
  std::vector<std::string> found;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(root, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(".tessaly-", 0) == 0 || name.ends_with(".part")) {
      found.push_back(it->path().string());
    }
  }
  return found;
}

// Makes every write whose path passes `fails` fail as a full disk would, for the
// life of the value.
class DiskFull {
 public:
  explicit DiskFull(std::function<bool(const std::string& utf8Path)> fails) {
    SetWriteFaultForTesting([fails](const Text& path) { return fails(GbkToUtf8(path)); });
  }
  ~DiskFull() { SetWriteFaultForTesting({}); }
  DiskFull(const DiskFull&) = delete;
  DiskFull& operator=(const DiskFull&) = delete;
};

class CollectFaultTest : public MarketplaceRunTest {
 protected:
  CollectFaultTest() {
    product_.id = "555555555555";
    product_.title = "故障";
    product_.price = "9.90";
    product_.item_number = "F-1";
    product_.gallery_images = {FixtureMarketplace::GalleryImage(product_.id, 1),
                               FixtureMarketplace::GalleryImage(product_.id, 2)};
    product_.description_images = {FixtureMarketplace::DescriptionImage(product_.id, 1)};
    product_.skus = {{"红色", FixtureMarketplace::SkuImage(product_.id, 1)},
                     {"蓝色", FixtureMarketplace::SkuImage(product_.id, 2)}};
  }

  ~CollectFaultTest() override {
    EXPECT_EQ(Temporaries(run_directory_.path()), std::vector<std::string>{});
  }

  std::vector<std::string> Pictures() const {
    std::vector<std::string> all = product_.gallery_images;
    all.insert(all.end(), product_.description_images.begin(), product_.description_images.end());
    for (const auto& sku : product_.skus) all.push_back(sku.second);
    return all;
  }

  std::string Info() const {
    return InfoFile(product_.id, product_.title, product_.item_number, product_.price);
  }

  // The lines of DescribeTree after a complete run of product_.
  std::vector<std::string> CompleteTreeLines() const {
    const std::string folder = "阿里巴巴/" + product_.title + "/";
    return {"阿里巴巴/",
            folder,
            FileLine(folder + product_.id + ".txt", Info()),
            folder + "主图/",
            ImageLine(folder + "主图/1.jpg", product_.gallery_images[0]),
            ImageLine(folder + "主图/2.jpg", product_.gallery_images[1]),
            folder + "详情图/",
            ImageLine(folder + "详情图/1.jpg", product_.description_images[0]),
            folder + "SKU图/",
            ImageLine(folder + "SKU图/红色.jpg", product_.skus[0].second),
            ImageLine(folder + "SKU图/蓝色.jpg", product_.skus[1].second)};
  }
  std::string CompleteTree() const { return TreeOf(CompleteTreeLines()); }

  FixtureProduct product_;
};

TEST_F(CollectFaultTest, PageCutOffMidWayNeverReplacesACompleteInformationFile) {
  marketplace_.AddProduct(product_);
  PasteLinks({product_.id});
  ASSERT_EQ(Run(), RunEnd::kFinished);
  ASSERT_EQ(Tree(), CompleteTree());

  // The page now breaks off after its title, before the price and the item number.
  const std::string page = FixtureMarketplace::RenderPage(product_);
  const std::size_t cut = page.find("<meta property=\"og:product:price\"");
  ASSERT_NE(cut, std::string::npos);
  marketplace_.Server().Handle(
      hosts::kProductHost, FixtureMarketplace::ProductPagePath(product_.id),
      [page, cut](const auto&, auto& response) {
        response.set_content_provider(
            page.size(), "text/html",
            [page, cut](std::size_t offset, std::size_t, httplib::DataSink& sink) {
              if (offset > 0) return false;  // closes the connection mid-body
              sink.write(page.data(), cut);
              return true;
            });
      });

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Read("阿里巴巴/故障/555555555555.txt"), Info());
  EXPECT_EQ(Tree(), CompleteTree());
}

enum class PictureFault { kServerError, kTooManyRequests, kRedirectLoop };

class EveryPictureFailsTest : public CollectFaultTest,
                              public ::testing::WithParamInterface<PictureFault> {};

TEST_P(EveryPictureFailsTest, LeavesEmptyPlaceholdersKeepsEarlierPicturesAndFinishes) {
  marketplace_.AddProduct(product_);
  for (const std::string& picture : Pictures()) {
    switch (GetParam()) {
      case PictureFault::kServerError:
        marketplace_.SetImageStatus(picture, 500);
        break;
      case PictureFault::kTooManyRequests:
        marketplace_.SetImageStatus(picture, 429);
        break;
      case PictureFault::kRedirectLoop: {
        const std::string path = picture.substr(picture.find('/', 8));
        marketplace_.Server().Handle("cbu01.alicdn.com", path,
                                     [picture](const auto&, auto& response) {
                                       response.status = 302;
                                       response.set_header("Location", picture);
                                       response.set_content("<html>moved</html>", "text/html");
                                     });
        break;
      }
    }
  }
  fs::create_directories(run_directory_.Join("阿里巴巴/故障/主图"));
  WriteNativeFile(run_directory_.Join("阿里巴巴/故障/主图/1.jpg"), "earlier picture");
  PasteLinks({product_.id});

  EXPECT_EQ(Run(), RunEnd::kFinished);

  const std::string folder = "阿里巴巴/故障/";
  EXPECT_EQ(Tree(), TreeOf({"阿里巴巴/", folder, FileLine(folder + product_.id + ".txt", Info()),
                            folder + "主图/", folder + "主图/1.jpg (15)", folder + "主图/2.jpg (0)",
                            folder + "详情图/", folder + "详情图/1.jpg (0)", folder + "SKU图/",
                            folder + "SKU图/红色.jpg (0)", folder + "SKU图/蓝色.jpg (0)"}));
  EXPECT_EQ(Read(folder + "主图/1.jpg"), "earlier picture");
  EXPECT_EQ(window_.Statuses().back(), "下载完毕,点击查看！");
}

INSTANTIATE_TEST_SUITE_P(Faults, EveryPictureFailsTest,
                         ::testing::Values(PictureFault::kServerError,
                                           PictureFault::kTooManyRequests,
                                           PictureFault::kRedirectLoop));

TEST_F(CollectFaultTest, UsersCookieGoesOnlyToTheMarketplaceOverHttps) {
  const std::string secret = "sid=USERSECRET";
  WriteCookieFile(secret + "; cna=abc");
  // Four products: one served directly, three whose pages redirect to plain http,
  // to another marketplace host (which, like a browser, gets the cookie) and to
  // a host of somebody else's.
  const std::vector<std::string> ids = {"111111111111", "222222222222", "333333333333",
                                        "444444444444"};
  const std::vector<std::string> targets = {"", "http://detail.1688.com/moved/222222222222.html",
                                            "https://www.1688.com/moved/333333333333.html",
                                            "https://tracker.alicdn.com/collect"};
  for (std::size_t i = 0; i < ids.size(); ++i) {
    FixtureProduct product = product_;
    product.id = ids[i];
    product.title = "商品" + ids[i];
    product.gallery_images = {FixtureMarketplace::GalleryImage(ids[i], 1)};
    product.description_images = {FixtureMarketplace::DescriptionImage(ids[i], 1)};
    product.skus = {{"红色", FixtureMarketplace::SkuImage(ids[i], 1)}};
    marketplace_.AddProduct(product);
    if (targets[i].empty()) continue;
    const std::string page = FixtureMarketplace::RenderPage(product);
    marketplace_.Server().Handle(hosts::kProductHost, FixtureMarketplace::ProductPagePath(ids[i]),
                                 [target = targets[i]](const auto&, auto& response) {
                                   response.status = 302;
                                   response.set_header("Location", target);
                                   response.set_header("Set-Cookie", "hop=1; Path=/");
                                 });
    const std::size_t hostStart = targets[i].find("://") + 3;
    const std::size_t pathStart = targets[i].find('/', hostStart);
    marketplace_.Server().Handle(
        targets[i].substr(hostStart, pathStart - hostStart), targets[i].substr(pathStart),
        [page](const auto&, auto& response) { response.set_content(page, "text/html"); });
  }
  PasteLinks(ids);

  EXPECT_EQ(Run(), RunEnd::kFinished);

  int productPagesWithCookie = 0;
  int marketplaceHopsWithCookie = 0;
  int otherRequests = 0;
  for (const RecordedRequest& request : marketplace_.Requests()) {
    std::string cookies;
    for (const auto& [name, value] : request.headers) {
      if (name == "Cookie") cookies += value;
    }
    const bool productPage = request.scheme == "https" && request.host == hosts::kProductHost &&
                             request.path.rfind("/offer/", 0) == 0;
    if (productPage) {
      EXPECT_NE(cookies.find(secret), std::string::npos) << request.path;
      ++productPagesWithCookie;
    } else if (request.scheme == "https" && request.host == hosts::kHomeHost &&
               request.path.rfind("/moved/", 0) == 0) {
      EXPECT_NE(cookies.find(secret), std::string::npos) << request.path;
      ++marketplaceHopsWithCookie;
    } else {
      EXPECT_EQ(cookies.find("USERSECRET"), std::string::npos)
          << request.scheme << "://" << request.host << request.path;
      ++otherRequests;
    }
  }
  EXPECT_EQ(productPagesWithCookie, 4);
  EXPECT_EQ(marketplaceHopsWithCookie, 1);
  // The version text, two redirect targets, and per product a description
  // document and three pictures.
  EXPECT_EQ(otherRequests, 1 + 2 + 4 * 4);
  // Each redirected page was still collected in full.
  for (const std::string& id : ids) {
    EXPECT_TRUE(NativeExists(run_directory_.Join("阿里巴巴/商品" + id + "/SKU图/红色.jpg"))) << id;
  }
}

TEST_F(CollectFaultTest, TwentyMegabytePageIsWorkedThroughInBoundedTime) {
  product_.charset = "utf-8";  // the whole page is decoded once more
  std::string page = FixtureMarketplace::RenderPage(product_);
  // Twenty megabytes of decoys inside the gallery and before the options: links
  // that are almost picture addresses, names outside any option list, dots.
  const std::string decoy =
      "<li>详情 https://cbu01.alicdn.com/img/ibank/1_2.400x400 name\":\"不是选项\" "
      "https://example/ ....... 0123456789</li>\n";
  std::string filler;
  filler.reserve((20u << 20) + decoy.size());
  while (filler.size() < (20u << 20)) filler += decoy;
  page.insert(page.find("tab-trigger") + std::string("tab-trigger").size(), filler);
  marketplace_.AddProduct(product_);
  marketplace_.SetProductPage(product_.id, page);
  PasteLinks({product_.id});

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run(), RunEnd::kFinished);
  const auto took = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(Tree(), CompleteTree());
  EXPECT_LT(took, 60s);
  RecordProperty(
      "milliseconds",
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

TEST_F(CollectFaultTest, ProductFolderThatCannotBeMadeSkipsOnlyThatProduct) {
  FixtureProduct blocked = product_;
  blocked.id = "111111111111";
  blocked.title = "被占用";
  blocked.gallery_images = {FixtureMarketplace::GalleryImage(blocked.id, 1)};
  blocked.description_images = {};
  blocked.skus = {};
  marketplace_.AddProduct(blocked);
  marketplace_.AddProduct(product_);
  fs::create_directories(run_directory_.Join("阿里巴巴"));
  WriteNativeFile(run_directory_.Join("阿里巴巴/被占用"), "a file of the user's");
  PasteLinks({blocked.id, product_.id});

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Read("阿里巴巴/被占用"), "a file of the user's");
  std::vector<std::string> expected = CompleteTreeLines();
  expected.push_back("阿里巴巴/被占用 (20)");
  EXPECT_EQ(Tree(), TreeOf(expected));
  for (const std::string& event : window_.Events()) {
    EXPECT_EQ(event.find("被占用"), std::string::npos) << event;
  }
}

TEST_F(CollectFaultTest, FilesThatCannotBeWrittenLeaveWhatStandsInTheirPlace) {
  marketplace_.AddProduct(product_);
  for (const char* occupied : {"阿里巴巴/故障/555555555555.txt/", "阿里巴巴/故障/主图/1.jpg/",
                               "阿里巴巴/故障/SKU图/红色.jpg/"}) {
    fs::create_directories(run_directory_.Join(occupied));
  }
  PasteLinks({product_.id});

  EXPECT_EQ(Run(), RunEnd::kFinished);

  const std::string folder = "阿里巴巴/故障/";
  EXPECT_EQ(Tree(), TreeOf({"阿里巴巴/", folder, folder + "555555555555.txt/", folder + "主图/",
                            folder + "主图/1.jpg/",
                            ImageLine(folder + "主图/2.jpg", product_.gallery_images[1]),
                            folder + "详情图/",
                            ImageLine(folder + "详情图/1.jpg", product_.description_images[0]),
                            folder + "SKU图/", folder + "SKU图/红色.jpg/",
                            ImageLine(folder + "SKU图/蓝色.jpg", product_.skus[1].second)}));
}

TEST_F(CollectFaultTest, FullDiskKeepsEveryEarlierFileWhole) {
  marketplace_.AddProduct(product_);
  PasteLinks({product_.id});
  // An earlier run left every file; the marketplace has one picture more by now.
  const std::string folder = "阿里巴巴/故障/";
  for (const char* sub : {"主图", "详情图", "SKU图"}) {
    fs::create_directories(run_directory_.Join(folder + sub));
  }
  const std::vector<std::string> earlier = {"555555555555.txt", "主图/1.jpg",     "主图/2.jpg",
                                            "详情图/1.jpg",     "SKU图/红色.jpg", "SKU图/蓝色.jpg"};
  for (const std::string& file : earlier) {
    WriteNativeFile(run_directory_.Join(folder + file), "earlier " + file);
  }
  product_.gallery_images.push_back(FixtureMarketplace::GalleryImage(product_.id, 3));
  marketplace_.AddProduct(product_);

  {
    // The disk fills up as the second file of the run is written, and stays full.
    int writes = 0;
    DiskFull full([&writes](const std::string&) { return ++writes >= 2; });
    EXPECT_EQ(Run(), RunEnd::kFinished);
  }

  // The information file (the first write) is new; every later write failed and
  // left the earlier file whole, and the new picture is missing, not half there.
  EXPECT_EQ(Read(folder + "555555555555.txt"), Info());
  for (std::size_t i = 1; i < earlier.size(); ++i) {
    EXPECT_EQ(Read(folder + earlier[i]), "earlier " + earlier[i]);
  }
  EXPECT_FALSE(NativeExists(run_directory_.Join(folder + "主图/3.jpg")));
  EXPECT_EQ(window_.Statuses().back(), "下载完毕,点击查看！");
}

TEST_F(CollectFaultTest, CookieFileChangedEmptiedOrUnreadableBetweenProducts) {
  const std::vector<std::string> ids = {"111111111111", "222222222222", "333333333333",
                                        "444444444444"};
  for (const std::string& id : ids) {
    FixtureProduct product;
    product.id = id;
    product.title = "商品" + id;
    marketplace_.AddProduct(product);
  }
  PasteLinks(ids);
  for (int box = 1; box <= 3; ++box) window_.ticked[box] = false;
  const std::string cookieFile = GbkToUtf8(CookieFilePath());
  WriteNativeFile(cookieFile, "sid=first");
  int product = 0;
  // Between two products (the information box is read once per product).
  window_.on_read_box = [&](CheckBox box) {
    if (box != CheckBox::kProductInfo) return;
    std::error_code ignored;
    switch (++product) {
      case 1:  // a folder where the file was: it cannot be read
        fs::remove(NativePath(cookieFile), ignored);
        fs::create_directory(NativePath(cookieFile), ignored);
        break;
      case 2:  // the file is back, with a new value
        fs::remove(NativePath(cookieFile), ignored);
        WriteNativeFile(cookieFile, "sid=second");
        break;
      case 3:  // emptied
        WriteNativeFile(cookieFile, "");
        break;
    }
  };

  EXPECT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(marketplace_.ProductPageCookies(),
            (std::vector<std::optional<std::string>>{"sid=first", std::nullopt, "sid=second",
                                                     std::nullopt}));
  for (const std::string& id : ids) {
    EXPECT_TRUE(NativeExists(run_directory_.Join("阿里巴巴/商品" + id + "/" + id + ".txt"))) << id;
  }
}

}  // namespace
}  // namespace tessaly::testing
