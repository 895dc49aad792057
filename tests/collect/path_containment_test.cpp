// No text that comes from a page (a title, an option name, a description address)
// can make a run write outside its category folder, whatever bytes it holds. The
// run directory here lies one level inside a scratch folder, so that anything
// written beside it or above it shows.
#include <filesystem>
#include <string>
#include <vector>

#include "collect/safe_name.h"
#include "marketplace_run_fixture.h"
#include "text/file_primitives.h"
#include "text/text_primitives.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

// Raw GBK bytes, as a page may hold them; none of them holds a double quote.
struct HostileName {
  const char* what;
  std::string bytes;
};

std::vector<HostileName> HostileNames() {
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += Utf8ToGbk("长");
  return {
      {"dot", "."},
      {"dot dot", ".."},
      {"parent of parent", "../../x"},
      {"absolute", "/etc/x"},
      {"backslashes", "..\\..\\x"},
      {"backslash inside", "a\\b"},
      {"300 Chinese characters", longName},
      {"control characters", std::string("\x01\x02\t\x1b[31m\x7f", 9)},
      {"invalid GBK bytes", "\x81/..\xFF\x80/"},
      {"lead byte before a slash", "\xB0/../\xB0/.."},
      {"wildcards", "*?[a]"},
      {"home", "~"},
      {"spaces and dots", " . . "},
      // What Windows refuses in a name or reads as a device.
      {"characters Windows forbids", "a:b<c>d|e"},
      {"device name", "CON"},
      {"device name with an extension", "nul.txt"},
      {"serial port", "COM1"},
      {"printer port", "lpt1"},
      {"trailing dot", "\xBD\xE1\xCE\xB2."},    // 结尾.
      {"trailing space", "\xBD\xE1\xCE\xB2 "},  // 结尾 + space
  };
}

class PathContainmentTest : public MarketplaceRunTest {
 protected:
  PathContainmentTest() {
    fs::create_directory(run_directory_.Join("run"));
    SetRunDirectory(Utf8ToGbk(std::string(run_directory_.Join("run"))));
    for (int box = 1; box <= 4; ++box) window_.ticked[box] = true;
  }

  // Every file and folder below the scratch folder, relative to it.
  std::vector<std::string> Everything() const {
    std::vector<std::string> paths;
    std::error_code ignored;
    const fs::path top = NativePath(run_directory_.path());
    for (auto it = fs::recursive_directory_iterator(top, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      paths.push_back(Utf8Path(fs::relative(it->path(), top, ignored)));
    }
    return paths;
  }

  // Where the information file of `id` was written, relative to the category folder.
  std::vector<fs::path> InfoFiles(const std::string& id) const {
    std::vector<fs::path> found;
    const fs::path category = run_directory_.Join("run/阿里巴巴");
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(category, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->path().filename() == id + ".txt") {
        found.push_back(fs::relative(it->path(), category, ignored));
      }
    }
    return found;
  }

  // A product whose title and only option both carry `name`.
  void AddHostileProduct(const std::string& id, const std::string& name) {
    FixtureProduct product;
    product.id = id;
    product.title = "TITLE-PLACEHOLDER";
    product.gallery_images = {FixtureMarketplace::GalleryImage(id, 1)};
    product.skus = {{"OPTION-PLACEHOLDER", FixtureMarketplace::SkuImage(id, 1)}};
    marketplace_.AddProduct(product);
    std::string page = FixtureMarketplace::RenderPage(product);
    for (const char* placeholder : {"TITLE-PLACEHOLDER", "OPTION-PLACEHOLDER"}) {
      for (auto at = page.find(placeholder); at != std::string::npos; at = page.find(placeholder)) {
        page.replace(at, std::string(placeholder).size(), name);
      }
    }
    marketplace_.SetProductPage(id, page);
  }
};

TEST_F(PathContainmentTest, NamesFromThePageNeverLeaveTheCategoryFolder) {
  const std::vector<HostileName> names = HostileNames();
  std::vector<std::string> ids;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string id = std::to_string(100000000000 + i);
    AddHostileProduct(id, names[i].bytes);
    ids.push_back(id);
  }
  PasteLinks(ids);

  ASSERT_EQ(Run(), RunEnd::kFinished);

  for (const std::string& path : Everything()) {
    EXPECT_TRUE(path == "run" || path.rfind("run/阿里巴巴", 0) == 0) << path;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i].what);
    // The information file lies in the product's own folder, one level down, and
    // its pictures in the folders beside it.
    const std::vector<fs::path> info = InfoFiles(ids[i]);
    ASSERT_EQ(info.size(), 1u);
    const fs::path folder = info[0].parent_path();
    EXPECT_EQ(std::distance(folder.begin(), folder.end()), 1);
    const fs::path product = run_directory_.Join("run/阿里巴巴") / folder;
    EXPECT_TRUE(fs::is_regular_file(product / NativePath("主图/1.jpg")));
    // Titles made of dots share the folder "_", each with its own option file.
    std::vector<fs::path> options;
    for (const auto& entry : fs::directory_iterator(product / NativePath("SKU图"))) {
      options.push_back(entry.path().filename());
      EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    }
    EXPECT_FALSE(options.empty());
  }
}

// Only a name that is dots as written names the folder itself or its parent:
// options "." and ".." become "..jpg" and "...jpg", apart from each other and
// from an option really named "_", while a folder named ".." is still kept in.
TEST_F(PathContainmentTest, OptionsMadeOfDotsKeepFilesOfTheirOwn) {
  FixtureProduct product;
  product.id = "400000000000";
  product.title = "..";
  product.skus = {{".", FixtureMarketplace::SkuImage(product.id, 1)},
                  {"..", FixtureMarketplace::SkuImage(product.id, 2)},
                  {"_", FixtureMarketplace::SkuImage(product.id, 3)}};
  marketplace_.AddProduct(product);
  PasteLinks({product.id});

  ASSERT_EQ(Run(), RunEnd::kFinished);

  const std::string folder = "run/阿里巴巴/_/SKU图/";
  const char* files[] = {"..jpg", "...jpg", "_.jpg"};
  for (std::size_t i = 0; i < product.skus.size(); ++i) {
    EXPECT_EQ(Read(folder + files[i]), FixtureMarketplace::ImageBytes(product.skus[i].second))
        << files[i];
  }
  for (const std::string& path : Everything()) {
    EXPECT_TRUE(path == "run" || path.rfind("run/阿里巴巴", 0) == 0) << path;
  }
}

TEST_F(PathContainmentTest, DescriptionAddressIsOnlyEverFetched) {
  const std::vector<std::string> addresses = {"file:///etc/passwd", "../../../../etc/passwd",
                                              "/etc/passwd", "https://itemcdn.1688.com/../../x"};
  std::vector<std::string> ids;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    FixtureProduct product;
    product.id = std::to_string(200000000000 + i);
    product.title = "描述" + std::to_string(i);
    product.description_images = {FixtureMarketplace::DescriptionImage(product.id, 1)};
    marketplace_.AddProduct(product);
    std::string page = FixtureMarketplace::RenderPage(product);
    const std::string marker = "data-tfs-url=\"";
    const std::size_t start = page.find(marker) + marker.size();
    page.replace(start, page.find('"', start) - start, addresses[i]);
    marketplace_.SetProductPage(product.id, page);
    ids.push_back(product.id);
  }
  PasteLinks(ids);

  ASSERT_EQ(Run(), RunEnd::kFinished);

  for (const std::string& path : Everything()) {
    EXPECT_TRUE(path == "run" || path.rfind("run/阿里巴巴", 0) == 0) << path;
  }
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const std::string folder = "run/阿里巴巴/描述" + std::to_string(i) + "/详情图";
    EXPECT_TRUE(NativeIsDirectory(run_directory_.Join(folder))) << addresses[i];
    EXPECT_TRUE(fs::is_empty(run_directory_.Join(folder))) << addresses[i];
  }
}

TEST_F(PathContainmentTest, TypedCategoryIsTheUsersOwnChoiceAndUsedAsTyped) {
  FixtureProduct product;
  product.id = "300000000000";
  product.title = "分类";
  marketplace_.AddProduct(product);
  PasteLinks({product.id});
  window_.category = "../放在旁边";

  ASSERT_EQ(Run(), RunEnd::kFinished);

  EXPECT_TRUE(NativeExists(run_directory_.Join("放在旁边/分类/300000000000.txt")));
}

// Windows keeps paths to 260 characters unless they are handed over in their long
// form; a run directory deep in the disk and names cut to the longest the file
// system takes make paths of nearly 400 characters. Every file is still written,
// and only the core's own routines, which take such paths, look at them here.
TEST_F(PathContainmentTest, PathsLongerThanWindowsUsualLimitAreWrittenWhole) {
  Text deep = Utf8ToGbk(std::string(run_directory_.Join("run")));
  for (int level = 0; level < 3; ++level) {
    deep = ConcatText(deep, kPathSeparator, Utf8ToGbk(std::string(60, 'a' + level)));
    ASSERT_TRUE(MakeDirectory(deep));
  }
  SetRunDirectory(deep);
  std::string title;
  std::string option;
  for (int i = 0; i < 200; ++i) title += "长";
  for (int i = 0; i < 200; ++i) option += "款";
  FixtureProduct product;
  product.id = "500000000000";
  product.title = title;
  product.gallery_images = {FixtureMarketplace::GalleryImage(product.id, 1)};
  product.description_images = {FixtureMarketplace::DescriptionImage(product.id, 1)};
  product.skus = {{option, FixtureMarketplace::SkuImage(product.id, 1)}};
  marketplace_.AddProduct(product);
  PasteLinks({product.id});

  ASSERT_EQ(Run(), RunEnd::kFinished);

  const Text folder = ConcatText(deep, kPathSeparator, Utf8ToGbk("阿里巴巴"), kPathSeparator,
                                 SafeName(Utf8ToGbk(title)), kPathSeparator);
  const Text optionFile = SafeName(Utf8ToGbk(option), ".jpg") + ".jpg";
  const Text sku = folder + Utf8ToGbk("SKU图") + kPathSeparator + optionFile;
  EXPECT_GT(GbkToUtf16(sku).size(), 380u);
  EXPECT_GT(FileLength(folder + product.id + ".txt"), 0);
  EXPECT_GT(FileLength(folder + Utf8ToGbk("主图") + kPathSeparator + "1.jpg"), 0);
  EXPECT_GT(FileLength(folder + Utf8ToGbk("详情图") + kPathSeparator + "1.jpg"), 0);
  EXPECT_EQ(ReadFileBytes(sku), ToBytes(FixtureMarketplace::ImageBytes(product.skus[0].second)));
}

#ifdef _WIN32
// On Windows the names are those of WindowsSafeName: files of their own, none a
// device, none that Explorer could not open.
TEST_F(PathContainmentTest, NamesWindowsWouldMisreadGetFilesOfTheirOwn) {
  const struct {
    std::string name;    // title and option, UTF-8
    std::string folder;  // the product folder
    std::string option;  // the option's file
  } cases[] = {
      {"a:b<c>d", "a_b_c_d", "a_b_c_d.jpg"},   {"CON", "_CON", "_CON.jpg"},
      {"nul.txt", "_nul.txt", "_nul.txt.jpg"}, {"COM1", "_COM1", "_COM1.jpg"},
      {"结尾.", "结尾_", "结尾..jpg"},
  };
  std::vector<std::string> ids;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ids.push_back(std::to_string(600000000000 + i));
    AddHostileProduct(ids.back(), Utf8ToGbk(cases[i].name));
  }
  PasteLinks(ids);

  ASSERT_EQ(Run(), RunEnd::kFinished);

  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const std::string product = "run/阿里巴巴/" + cases[i].folder + "/";
    EXPECT_TRUE(NativeExists(run_directory_.Join(product + ids[i] + ".txt")));
    EXPECT_EQ(Read(product + "SKU图/" + cases[i].option),
              FixtureMarketplace::ImageBytes(FixtureMarketplace::SkuImage(ids[i], 1)));
  }
}
#endif

}  // namespace
}  // namespace tessaly::testing
