#include "collect/product_folder.h"
#include "collect/save_image.h"
#include "collect/steps.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace tessaly {

void MainImageStep(RunState& state) {
  if (!state.Window.IsTicked(CheckBox::kMainImages)) return;
  const Text folder = PrepareImageFolder(state, "主图"_gbk);

  const Text gallery = TextBetween(state.PageText, "tab-trigger", "<a hidefocus");
  // The group is the size suffix (".400x400" and the like) that the gallery puts
  // before the extension; cutting it out gives the full-size picture.
  state.ImageMatcher.Search("https://cbu\\d+[.].*?[.].*?\\d+_\\d+([.]\\d+x4.*?)[.][a-zA-Z]{3}",
                            gallery);
  const int count = state.ImageMatcher.MatchCount();
  for (int i = 1; i <= count; ++i) {
    const Text match = state.ImageMatcher.MatchText(i);
    const Text sizeSuffix = state.ImageMatcher.SubMatchText(i, 1);
    const Text address = ReplaceText(match, sizeSuffix, "", 1, kAllOccurrences, true);
    SaveImage(state, address, ConcatText(folder, kPathSeparator, ToText(i), ".jpg"));
  }
}

}  // namespace tessaly
