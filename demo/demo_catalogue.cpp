#include "demo_catalogue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "collect/addresses.h"
#include "png_image.h"
#include "text/gbk.h"

namespace tessaly::demo {
namespace {

using testing::FixtureMarketplace;
using testing::FixtureProduct;

constexpr std::array<const char*, 8> kTitles = {
    "夏季新款纯棉短袖T恤 男女同款", "北欧风陶瓷马克杯 350ml", "手工编织藤编收纳篮",
    "不锈钢保温杯/大容量",          "儿童益智木质拼图玩具",   "复古帆布双肩包 学生书包",
    "家用多功能厨房剪刀",           "竹制筷子套装 十双装"};
constexpr std::array<const char*, 6> kSkuNames = {"红色",   "蓝色",   "黑/白",
                                                  "米白色", "浅灰色", "墨绿色"};
// Pictures are generated once per colour and shared by every address that shows it.
constexpr int kColourVariants = 12;

// Filler for padded pages: ordinary description text, free of every marker the
// run looks for.
constexpr char kFillerParagraph[] =
    "<p>精选优质面料，做工细致，透气舒适，四季百搭，支持批发定制。</p>\n";

std::string PaddingFor(const std::string& page, int page_kb, bool gbk) {
  const std::size_t wanted = static_cast<std::size_t>(std::max(0, page_kb)) * 1024;
  if (page.size() >= wanted) return {};
  const std::string paragraph = gbk ? Utf8ToGbk(kFillerParagraph) : kFillerParagraph;
  std::string padding = "<div class=\"desc-text\" style=\"display:none\">\n";
  while (page.size() + padding.size() + paragraph.size() + 7 <= wanted) padding += paragraph;
  padding += "</div>\n";
  padding.append(wanted > page.size() + padding.size() ? wanted - page.size() - padding.size() : 0,
                 ' ');
  return padding;
}

std::string Title(int index) {
  std::string title = kTitles[static_cast<std::size_t>(index) % kTitles.size()];
  const int batch = index / static_cast<int>(kTitles.size());
  if (batch > 0) title += " 第" + std::to_string(batch + 1) + "批";
  return title;
}

std::string ProductId(int index) {
  char id[16];
  std::snprintf(id, sizeof id, "6%011d", index + 1);
  return id;
}

FixtureProduct MakeProduct(int index, const CatalogueShape& shape) {
  FixtureProduct product;
  product.id = ProductId(index);
  product.title = Title(index);
  product.price = std::to_string(9 + index % 40) + ".90";
  product.item_number = "TS-" + std::to_string(2024000 + index);
  product.charset = index % 3 == 2 ? "utf-8" : "gbk";

  const int images = std::max(0, shape.images);
  const int skus = images >= 3 ? std::max(1, images / 4) : 0;
  const int description = (images - skus) / 2;
  const int gallery = images - skus - description;
  for (int i = 1; i <= gallery; ++i) {
    product.gallery_images.push_back(FixtureMarketplace::GalleryImage(product.id, i));
  }
  for (int i = 1; i <= description; ++i) {
    product.description_images.push_back(FixtureMarketplace::DescriptionImage(product.id, i));
  }
  for (int i = 1; i <= skus; ++i) {
    product.skus.emplace_back(kSkuNames[static_cast<std::size_t>(index + i - 1) % kSkuNames.size()],
                              FixtureMarketplace::SkuImage(product.id, i));
  }
  return product;
}

std::vector<std::string> PictureAddresses(const FixtureProduct& product) {
  std::vector<std::string> addresses = product.gallery_images;
  addresses.insert(addresses.end(), product.description_images.begin(),
                   product.description_images.end());
  for (const auto& sku : product.skus) addresses.push_back(sku.second);
  return addresses;
}

}  // namespace

std::vector<FixtureProduct> ServeCatalogue(FixtureMarketplace& marketplace,
                                           const CatalogueShape& shape) {
  std::vector<std::shared_ptr<const std::string>> pictures;
  for (int variant = 0; variant < kColourVariants; ++variant) {
    pictures.push_back(std::make_shared<const std::string>(GeneratedPng(shape.image_kb, variant)));
  }

  std::vector<FixtureProduct> products;
  for (int index = 0; index < shape.products; ++index) {
    FixtureProduct product = MakeProduct(index, shape);
    // The fixture serves the description document; the page and the pictures are
    // replaced by padded pages and real PNG pictures.
    marketplace.AddProduct(product);
    std::string page = FixtureMarketplace::RenderPage(product);
    const std::size_t body_end = page.rfind("</body>");
    page.insert(body_end, PaddingFor(page, shape.page_kb, product.charset == "gbk"));
    marketplace.SetProductPage(product.id, page);
    const std::vector<std::string> addresses = PictureAddresses(product);
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const std::size_t variant = (static_cast<std::size_t>(index) * 5 + i) % kColourVariants;
      marketplace.ServeBytes(addresses[i], pictures[variant], "image/png");
    }
    products.push_back(std::move(product));
  }
  return products;
}

std::string ProductLink(const FixtureProduct& product) {
  return ProductPageAddress(product.id + ".html");
}

std::vector<std::string> CollectionAddresses(const std::vector<FixtureProduct>& products) {
  std::vector<std::string> addresses = {VersionTextAddress()};
  for (const FixtureProduct& product : products) {
    addresses.push_back(ProductLink(product));
    addresses.insert(addresses.end(), product.gallery_images.begin(), product.gallery_images.end());
    if (!product.description_images.empty()) {
      addresses.push_back(FixtureMarketplace::DescriptionAddress(product.id));
    }
    addresses.insert(addresses.end(), product.description_images.begin(),
                     product.description_images.end());
    for (const auto& sku : product.skus) addresses.push_back(sku.second);
  }
  std::erase(addresses, std::string());
  return addresses;
}

}  // namespace tessaly::demo
