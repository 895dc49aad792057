#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "marketplace_run_fixture.h"

namespace tessaly::testing {
namespace {

class ImageStepsTest : public MarketplaceRunTest {
 protected:
  ImageStepsTest() {
    product_.id = "555555555555";
    product_.title = "图片";
    window_.ticked[static_cast<int>(CheckBox::kProductInfo)] = false;
  }

  void RunProduct() {
    marketplace_.AddProduct(product_);
    PasteLinks({product_.id});
    ASSERT_EQ(Run(), RunEnd::kFinished);
  }

  std::string Image(const std::string& id, const char* kind, int number) const {
    if (std::string(kind) == "gallery") return FixtureMarketplace::GalleryImage(id, number);
    if (std::string(kind) == "description") {
      return FixtureMarketplace::DescriptionImage(id, number);
    }
    return FixtureMarketplace::SkuImage(id, number);
  }

  FixtureProduct product_;
};

TEST_F(ImageStepsTest, MainPicturesAreFetchedWithoutTheirSizeSuffix) {
  for (int i = 1; i <= 3; ++i) product_.gallery_images.push_back(Image(product_.id, "gallery", i));
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;

  RunProduct();

  EXPECT_EQ(marketplace_.PathsRequested("cbu01.alicdn.com"),
            (std::vector<std::string>{"/img/ibank/2019/555555555555_1.jpg",
                                      "/img/ibank/2019/555555555555_2.jpg",
                                      "/img/ibank/2019/555555555555_3.jpg"}));
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(Read("阿里巴巴/图片/主图/" + std::to_string(i) + ".jpg"),
              FixtureMarketplace::ImageBytes(product_.gallery_images[i - 1]));
  }
}

TEST_F(ImageStepsTest, FailedDownloadKeepsAnEarlierPictureAndNeverStoresAnErrorPage) {
  for (int i = 1; i <= 3; ++i) product_.gallery_images.push_back(Image(product_.id, "gallery", i));
  // An earlier run left pictures 1 and 4; the marketplace now fails 1 and 2.
  std::filesystem::create_directories(run_directory_.Join("阿里巴巴/图片/主图"));
  WriteNativeFile(run_directory_.Join("阿里巴巴/图片/主图/1.jpg"), "earlier picture 1");
  WriteNativeFile(run_directory_.Join("阿里巴巴/图片/主图/4.jpg"), "earlier picture 4");
  marketplace_.SetImageStatus(product_.gallery_images[0], 404);
  marketplace_.SetImageStatus(product_.gallery_images[1], 500);
  // A description picture that fails where no earlier file exists.
  product_.description_images = {Image(product_.id, "description", 1)};
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;
  marketplace_.AddProduct(product_);
  marketplace_.SetImageStatus(product_.description_images[0], 404);
  PasteLinks({product_.id});

  ASSERT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Tree(), TreeOf({
                        "阿里巴巴/",
                        "阿里巴巴/图片/",
                        "阿里巴巴/图片/主图/",
                        "阿里巴巴/图片/主图/1.jpg (17)",
                        "阿里巴巴/图片/主图/2.jpg (0)",
                        ImageLine("阿里巴巴/图片/主图/3.jpg", product_.gallery_images[2]),
                        "阿里巴巴/图片/主图/4.jpg (17)",
                        "阿里巴巴/图片/详情图/",
                        "阿里巴巴/图片/详情图/1.jpg (0)",
                    }));
  EXPECT_EQ(Read("阿里巴巴/图片/主图/1.jpg"), "earlier picture 1");
  const std::string folder = run_directory_.path() + "/阿里巴巴/图片/";
  EXPECT_EQ(window_.EventsOf("picture-failed:"),
            (std::vector<std::string>{
                "picture-failed:" + product_.gallery_images[0] + "|" + folder +
                    "主图/1.jpg|HTTP 404|kept",
                "picture-failed:" + product_.gallery_images[1] + "|" + folder +
                    "主图/2.jpg|HTTP 500|placeholder",
                "picture-failed:" + product_.description_images[0] + "|" + folder +
                    "详情图/1.jpg|HTTP 404|placeholder",
            }));
  EXPECT_EQ(window_.EventsOf("image:"),
            (std::vector<std::string>{"image:" + folder + "主图/3.jpg"}));

  // Served again, the picture replaces the placeholder and the earlier one alike.
  marketplace_.SetImageStatus(product_.gallery_images[0], 0);
  marketplace_.SetImageStatus(product_.gallery_images[1], 0);
  ASSERT_EQ(Run(), RunEnd::kFinished);
  EXPECT_EQ(Read("阿里巴巴/图片/主图/1.jpg"),
            FixtureMarketplace::ImageBytes(product_.gallery_images[0]));
  EXPECT_EQ(Read("阿里巴巴/图片/主图/2.jpg"),
            FixtureMarketplace::ImageBytes(product_.gallery_images[1]));
}

TEST_F(ImageStepsTest, PictureCutOffMidWayNeverReplacesACompleteOne) {
  for (int i = 1; i <= 2; ++i) product_.gallery_images.push_back(Image(product_.id, "gallery", i));
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;
  std::filesystem::create_directories(run_directory_.Join("阿里巴巴/图片/主图"));
  WriteNativeFile(run_directory_.Join("阿里巴巴/图片/主图/1.jpg"), "earlier picture 1");
  marketplace_.AddProduct(product_);
  marketplace_.SetImageStatus(product_.gallery_images[0], FixtureMarketplace::kCutOff);
  marketplace_.SetImageStatus(product_.gallery_images[1], FixtureMarketplace::kCutOff);
  PasteLinks({product_.id});

  ASSERT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Read("阿里巴巴/图片/主图/1.jpg"), "earlier picture 1");
  // With nothing earlier, the part that arrived is what the user gets.
  const std::string whole = FixtureMarketplace::ImageBytes(product_.gallery_images[1]);
  EXPECT_EQ(Read("阿里巴巴/图片/主图/2.jpg"), whole.substr(0, whole.size() / 2));
  const std::string folder = run_directory_.path() + "/阿里巴巴/图片/主图/";
  EXPECT_EQ(
      window_.EventsOf("picture-failed:"),
      (std::vector<std::string>{
          "picture-failed:" + product_.gallery_images[0] + "|" + folder + "1.jpg|cut off|kept",
          "picture-failed:" + product_.gallery_images[1] + "|" + folder + "2.jpg|cut off|part",
      }));
}

TEST_F(ImageStepsTest, PictureThisRunWroteForAnotherProductIsNeverPassedOffAsThisOnes) {
  // Two products with one title share a folder. The first saves its pictures; of
  // the second's, 1 fails, 2 is cut off, 3 finds a file from before the run, and its
  // description picture comes back empty.
  FixtureProduct first = product_;
  first.gallery_images = {Image(first.id, "gallery", 1), Image(first.id, "gallery", 2)};
  first.description_images = {Image(first.id, "description", 1)};
  FixtureProduct second = product_;
  second.id = "666666666666";
  for (int i = 1; i <= 3; ++i) second.gallery_images.push_back(Image(second.id, "gallery", i));
  second.description_images = {Image(second.id, "description", 1)};
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;
  std::filesystem::create_directories(run_directory_.Join("阿里巴巴/图片/主图"));
  WriteNativeFile(run_directory_.Join("阿里巴巴/图片/主图/3.jpg"), "earlier picture 3");
  marketplace_.AddProduct(first);
  marketplace_.AddProduct(second);
  marketplace_.SetImageStatus(second.gallery_images[0], 404);
  marketplace_.SetImageStatus(second.gallery_images[1], FixtureMarketplace::kCutOff);
  marketplace_.SetImageStatus(second.gallery_images[2], 404);
  marketplace_.ServeBytes(second.description_images[0], std::make_shared<const std::string>(),
                          "image/jpeg");
  PasteLinks({first.id, second.id});

  ASSERT_EQ(Run(), RunEnd::kFinished);

  const std::string cut = FixtureMarketplace::ImageBytes(second.gallery_images[1]);
  EXPECT_EQ(Read("阿里巴巴/图片/主图/1.jpg"), "");
  EXPECT_EQ(Read("阿里巴巴/图片/主图/2.jpg"), cut.substr(0, cut.size() / 2));
  EXPECT_EQ(Read("阿里巴巴/图片/主图/3.jpg"), "earlier picture 3");
  EXPECT_EQ(Read("阿里巴巴/图片/详情图/1.jpg"), "");
  const std::string folder = run_directory_.path() + "/阿里巴巴/图片/";
  EXPECT_EQ(
      window_.EventsOf("picture-failed:"),
      (std::vector<std::string>{
          "picture-failed:" + second.gallery_images[0] + "|" + folder +
              "主图/1.jpg|HTTP 404|placeholder",
          "picture-failed:" + second.gallery_images[1] + "|" + folder + "主图/2.jpg|cut off|part",
          "picture-failed:" + second.gallery_images[2] + "|" + folder + "主图/3.jpg|HTTP 404|kept",
          "picture-failed:" + second.description_images[0] + "|" + folder +
              "详情图/1.jpg|no answer|placeholder",
      }));
}

TEST_F(ImageStepsTest, LinkPastedTwiceKeepsThePictureItsFirstPassSaved) {
  product_.gallery_images = {Image(product_.id, "gallery", 1)};
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;
  marketplace_.AddProduct(product_);
  // The picture fails from the second pass on.
  int passes = 0;
  window_.on_read_box = [&](CheckBox box) {
    if (box == CheckBox::kMainImages && ++passes == 2) {
      marketplace_.SetImageStatus(product_.gallery_images[0], 503);
    }
  };
  PasteLinks({product_.id, product_.id});

  ASSERT_EQ(Run(), RunEnd::kFinished);

  EXPECT_EQ(Read("阿里巴巴/图片/主图/1.jpg"),
            FixtureMarketplace::ImageBytes(product_.gallery_images[0]));
  EXPECT_EQ(window_.EventsOf("picture-failed:"),
            (std::vector<std::string>{"picture-failed:" + product_.gallery_images[0] + "|" +
                                      run_directory_.path() +
                                      "/阿里巴巴/图片/主图/1.jpg|HTTP 503|kept"}));
}

TEST_F(ImageStepsTest, PicturesThatCannotBeWrittenAreSkippedAndTheRunGoesOn) {
  product_.gallery_images = {Image(product_.id, "gallery", 1), Image(product_.id, "gallery", 2)};
  product_.description_images = {Image(product_.id, "description", 1)};
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;
  // A file stands where the main pictures' folder belongs.
  std::filesystem::create_directories(run_directory_.Join("阿里巴巴/图片"));
  WriteNativeFile(run_directory_.Join("阿里巴巴/图片/主图"), "in the way");
  marketplace_.AddProduct(product_);
  marketplace_.SetImageStatus(product_.gallery_images[1], 404);

  RunProduct();

  EXPECT_EQ(Tree(), TreeOf({
                        "阿里巴巴/",
                        "阿里巴巴/图片/",
                        "阿里巴巴/图片/主图 (10)",
                        "阿里巴巴/图片/详情图/",
                        ImageLine("阿里巴巴/图片/详情图/1.jpg", product_.description_images[0]),
                    }));
  EXPECT_EQ(window_.EventsOf("image:").size(), 1u);
  EXPECT_EQ(window_.EventsOf("picture-failed:"),
            (std::vector<std::string>{"picture-failed:" + product_.gallery_images[1] + "|" +
                                      run_directory_.path() +
                                      "/阿里巴巴/图片/主图/2.jpg|HTTP 404|not written"}));
}

TEST_F(ImageStepsTest, DescriptionPicturesComeFromTheDescriptionDocumentInItsOrder) {
  for (int i = 5; i >= 1; --i) {
    product_.description_images.push_back(Image(product_.id, "description", i));
  }
  window_.ticked[static_cast<int>(CheckBox::kMainImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kSkuImages)] = false;

  RunProduct();

  std::vector<std::string> expected = {"阿里巴巴/", "阿里巴巴/图片/", "阿里巴巴/图片/详情图/"};
  for (int i = 1; i <= 5; ++i) {
    expected.push_back(ImageLine("阿里巴巴/图片/详情图/" + std::to_string(i) + ".jpg",
                                 product_.description_images[i - 1]));
  }
  EXPECT_EQ(Tree(), TreeOf(expected));
  EXPECT_EQ(Read("阿里巴巴/图片/详情图/1.jpg"),
            FixtureMarketplace::ImageBytes(Image(product_.id, "description", 5)));
  // The document is fetched without the user's cookies.
  for (const RecordedRequest& request : marketplace_.Requests()) {
    if (request.host == "itemcdn.1688.com") {
      EXPECT_FALSE(request.headers.contains("Cookie"));
    }
  }
  EXPECT_EQ(marketplace_.PathsRequested("itemcdn.1688.com").size(), 1u);
}

TEST_F(ImageStepsTest, SkuPicturesAreNamedAfterTheirOptions) {
  product_.skus = {{"红色", Image(product_.id, "sku", 1)},
                   {"蓝色", Image(product_.id, "sku", 2)},
                   {"黑/白", Image(product_.id, "sku", 3)},
                   {"红色", Image(product_.id, "sku", 4)},
                   {"白色", ""}};
  window_.ticked[static_cast<int>(CheckBox::kMainImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;

  RunProduct();

  // The later 红色 overwrites the earlier; the option without a picture adds nothing.
  EXPECT_EQ(Tree(), TreeOf({
                        "阿里巴巴/",
                        "阿里巴巴/图片/",
                        "阿里巴巴/图片/SKU图/",
                        ImageLine("阿里巴巴/图片/SKU图/红色.jpg", product_.skus[3].second),
                        ImageLine("阿里巴巴/图片/SKU图/蓝色.jpg", product_.skus[1].second),
                        ImageLine("阿里巴巴/图片/SKU图/黑_白.jpg", product_.skus[2].second),
                    }));
  EXPECT_EQ(Read("阿里巴巴/图片/SKU图/红色.jpg"),
            FixtureMarketplace::ImageBytes(product_.skus[3].second));
}

TEST_F(ImageStepsTest, PicturesBeyondTheOptionNamesAreNamedAfterTheirIndex) {
  // Empty names are not collected, so four pictures meet two names.
  product_.skus = {{"红色", Image(product_.id, "sku", 1)},
                   {"..", Image(product_.id, "sku", 2)},
                   {"", Image(product_.id, "sku", 3)},
                   {"  ", Image(product_.id, "sku", 4)}};
  window_.ticked[static_cast<int>(CheckBox::kMainImages)] = false;
  window_.ticked[static_cast<int>(CheckBox::kDescriptionImages)] = false;

  RunProduct();

  EXPECT_EQ(Tree(), TreeOf({
                        "阿里巴巴/",
                        "阿里巴巴/图片/",
                        "阿里巴巴/图片/SKU图/",
                        ImageLine("阿里巴巴/图片/SKU图/红色.jpg", product_.skus[0].second),
                        ImageLine("阿里巴巴/图片/SKU图/...jpg", product_.skus[1].second),
                        ImageLine("阿里巴巴/图片/SKU图/3.jpg", product_.skus[2].second),
                        ImageLine("阿里巴巴/图片/SKU图/4.jpg", product_.skus[3].second),
                    }));
}

}  // namespace
}  // namespace tessaly::testing
