// Everything the collection steps take out of a product page, from any page: the
// title and the folder name made of it, the item number and price, the gallery
// addresses without their size suffix, the description address, the SKU option
// names and the file names made of them, the product ID. The same calls with the
// same markers and patterns as the steps; what must hold is that no name taken from
// a page can leave its folder or be refused for its length, and that every address
// handed to the download is either refused or an http(s) address.
#include <cstddef>
#include <cstdint>
#include <string>

#include "collect/safe_name.h"
#include "collect/sanitize_name.h"
#include "fuzz_input.h"
#include "http/request_url.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/pattern_matcher.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace {

using tessaly::Text;

struct GbkMarkers {
  Text itemNumber = tessaly::Utf8ToGbk("货号:");
  Text comma = tessaly::Utf8ToGbk("，");
  Text wall = tessaly::Utf8ToGbk("手机号登录");
};

const GbkMarkers& Markers() {
  static const GbkMarkers markers;
  return markers;
}

// A path component that stays where it is put: no separator, no zero byte, not the
// folder itself or its parent, and short enough for the file system.
void CheckComponent(const Text& name, const Text& suffix, bool mayBeEmpty) {
  const std::string native = tessaly::NativePath(name + suffix);
  FUZZ_CHECK(mayBeEmpty || !native.empty());
  FUZZ_CHECK(native.find('/') == std::string::npos);
  FUZZ_CHECK(native.find('\0') == std::string::npos);
  FUZZ_CHECK(native != "." && native != "..");
  FUZZ_CHECK(native.size() <= static_cast<std::size_t>(tessaly::kMaxNameBytes));
}

void CheckAddress(const Text& address) {
  const auto origin = tessaly::HttpOrigin(tessaly::UrlForCurl(address));
  if (origin) FUZZ_CHECK(origin->scheme == "http" || origin->scheme == "https");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text page(reinterpret_cast<const char*>(data), size);
  tessaly::PatternMatcher matcher;

  // The product step.
  const Text title =
      tessaly::SanitizeName(tessaly::TextBetween(page, "og:title\" content=\"", "\""));
  CheckComponent(tessaly::SafeName(title), {}, true);
  static_cast<void>(tessaly::FindText(page, Markers().wall, 1, false));
  static_cast<void>(tessaly::TextBetween(page, Markers().itemNumber, Markers().comma));
  static_cast<void>(tessaly::TextBetween(page, "og:product:price\" content=\"", "\""));
  if (matcher.Search("\\d{12}[.]html", page)) {
    for (int i = 1; i <= matcher.MatchCount() && i <= 8; ++i) {
      const Text id = tessaly::ReplaceText(matcher.MatchText(i), ".html", "", 1,
                                           tessaly::kAllOccurrences, true);
      CheckComponent(tessaly::SafeName(tessaly::SanitizeName(id), ".txt"), ".txt", false);
    }
  }

  // The main pictures: the size suffix is cut out of each gallery address.
  const Text gallery = tessaly::TextBetween(page, "tab-trigger", "<a hidefocus");
  matcher.Search("https://cbu\\d+[.].*?[.].*?\\d+_\\d+([.]\\d+x4.*?)[.][a-zA-Z]{3}", gallery);
  for (int i = 1; i <= matcher.MatchCount() && i <= 64; ++i) {
    CheckAddress(tessaly::ReplaceText(matcher.MatchText(i), matcher.SubMatchText(i, 1), "", 1,
                                      tessaly::kAllOccurrences, true));
  }

  // The description document's address.
  CheckAddress(tessaly::TextBetween(page, "data-tfs-url=\"", "\""));

  // The SKU pictures, named after their options (or their index past the names).
  const Text options = tessaly::TextBetween(page, "skuProps", "]},");
  matcher.Search("(https://.*?[.].*?[.].*?[.][a-zA-Z]{3})", options);
  tessaly::TextArray names;
  tessaly::AllTextsBetween(options, "name\":\"", "\"", names);
  for (int i = 1; i <= matcher.MatchCount() && i <= 64; ++i) {
    CheckAddress(matcher.MatchText(i));
    Text name = names.Has(i) ? tessaly::SanitizeName(names.Item(i)) : Text();
    if (name.empty()) name = tessaly::ToText(i);
    CheckComponent(tessaly::SafeName(name, ".jpg"), ".jpg", false);
  }
  // Every option name, also those beyond the pictures.
  for (const Text& name : names) {
    CheckComponent(tessaly::SafeName(tessaly::SanitizeName(name), ".jpg"), ".jpg", false);
  }
  return 0;
}
