#include "collect/addresses.h"
#include "collect/cookie_file.h"
#include "collect/cookie_page_address.h"
#include "collect/page_failure.h"
#include "collect/product_folder.h"
#include "collect/safe_name.h"
#include "collect/sanitize_name.h"
#include "collect/steps.h"
#include "http/http_request.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

bool MeetsWall(const Text& page) {
  return FindText(page, "手机号登录"_gbk, 1, false) != -1 ||
         FindText(page, WallMarkerImageAddress(), 1, false) != -1;
}

void StopAtWall(RunState& state, const Text& pageAddress) {
  WindowOperations& window = state.Window;
  window.SetStatus("遇到防采集，请更新cookies"_gbk);
  window.SetStartEnabled(true);
  // Set before the window opens, so its link already leads to the blocked page.
  SetCookiePageAddress(pageAddress);
  window.OpenSettingsWindow();
}

Text ProductInfo(const RunState& state, const Text& pageAddress) {
  return ConcatText("宝贝id："_gbk, state.ProductId, "\r\n宝贝链接："_gbk, pageAddress,
                    "\r\n标题："_gbk, state.Title, "\r\n货号："_gbk, state.ItemNumber,
                    "\r\n价格："_gbk, state.Price);
}

}  // namespace

bool ProductStep(RunState& state) {
  // Read for every product, so a value saved in the settings window during a run
  // counts from the next product on.
  state.CookieText = ReadCookieFile();
  const Text pageAddress = ProductPageAddress(state.MatchedText);
  // Cookies always count as supplied, also when empty; the merged value written
  // back into CookieText is never used, the next product reads the file again.
  Text status;
  bool pageComplete = false;
  state.PageText =
      HttpRequest(pageAddress, 0, {}, &state.CookieText, nullptr, {}, nullptr, false, {}, {}, {},
                  {}, {}, 0, nullptr, &status, nullptr, true, &pageComplete);

  state.Title = SanitizeName(TextBetween(state.PageText, "og:title\" content=\"", "\""));
  if (MeetsWall(state.PageText)) {
    StopAtWall(state, pageAddress);
    return false;
  }
  // The wall is a report of its own; anything else that is not the whole page is
  // told, though the product goes on with what arrived.
  ReportPageFailure(state.Window, pageAddress, status, pageComplete);

  // The title stays whole for the information file; only the folder name is made
  // safe for the file system.
  state.ProductFolderName = SafeName(state.Title);
  const Text categoryFolder = ConcatText(GetRunDirectory(), kPathSeparator, state.CategoryFolder);
  if (!PathExists(categoryFolder)) MakeDirectory(categoryFolder);
  const Text productFolder = ProductFolder(state);
  if (!PathExists(productFolder)) MakeDirectory(productFolder);

  static const Text kInfoSuffix = ".txt";
  state.ProductId = SafeName(SanitizeName(state.ProductId), kInfoSuffix);
  if (state.Window.IsTicked(CheckBox::kProductInfo)) {
    state.ItemNumber = TextBetween(state.PageText, "货号:"_gbk, "，"_gbk);
    state.Price = TextBetween(state.PageText, "og:product:price\" content=\"", "\"");
    const Text infoFile = ConcatText(productFolder, kPathSeparator, state.ProductId, kInfoSuffix);
    // A page cut off mid-way may lack the price or the item number: it never
    // replaces the record an earlier, complete page gave.
    if (pageComplete || !PathExists(infoFile)) {
      WriteFileBytes(infoFile, ToBytes(ProductInfo(state, pageAddress)));
    }
  }
  return true;
}

}  // namespace tessaly
