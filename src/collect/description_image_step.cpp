#include "collect/page_failure.h"
#include "collect/product_folder.h"
#include "collect/save_image.h"
#include "collect/steps.h"
#include "http/http_request.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace tessaly {

void DescriptionImageStep(RunState& state) {
  if (!state.Window.IsTicked(CheckBox::kDescriptionImages)) return;
  const Text folder = PrepareImageFolder(state, "详情图"_gbk);

  // The page only names the description document; its pictures stand in there.
  const Text documentAddress = TextBetween(state.PageText, "data-tfs-url=\"", "\"");
  Text status;
  bool complete = false;
  const Text document =
      HttpRequest(documentAddress, 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {}, {},
                  0, nullptr, &status, nullptr, true, &complete);
  // A page without a description names no document; only a named one can fail.
  if (!documentAddress.empty()) {
    ReportPageFailure(state.Window, documentAddress, status, complete);
  }
  state.ImageMatcher.Search("(https://cbu.*?[.].*?[.].*?[.][a-zA-Z]{3})", document);
  const int count = state.ImageMatcher.MatchCount();
  for (int i = 1; i <= count; ++i) {
    SaveImage(state, state.ImageMatcher.MatchText(i),
              ConcatText(folder, kPathSeparator, ToText(i), ".jpg"));
  }
}

}  // namespace tessaly
