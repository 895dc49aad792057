#include "collect/product_folder.h"
#include "collect/safe_name.h"
#include "collect/sanitize_name.h"
#include "collect/save_image.h"
#include "collect/steps.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

// Names and addresses are paired by position alone. An option whose name is
// missing (empty names are skipped when collecting) would shift the pairs and run
// the addresses past the names; those pictures are named after their index.
Text OptionFileName(const TextArray& names, int index) {
  static const Text kSuffix = ".jpg";
  Text name = names.Has(index) ? SanitizeName(names.Item(index)) : Text();
  if (name.empty()) name = ToText(index);
  return SafeName(name, kSuffix) + kSuffix;
}

}  // namespace

void SkuImageStep(RunState& state) {
  if (!state.Window.IsTicked(CheckBox::kSkuImages)) return;
  const Text folder = PrepareImageFolder(state, "SKU图"_gbk);

  const Text options = TextBetween(state.PageText, "skuProps", "]},");
  state.ImageMatcher.Search("(https://.*?[.].*?[.].*?[.][a-zA-Z]{3})", options);
  TextArray names;
  AllTextsBetween(options, "name\":\"", "\"", names);

  const int count = state.ImageMatcher.MatchCount();
  for (int i = 1; i <= count; ++i) {
    SaveImage(state, state.ImageMatcher.MatchText(i),
              ConcatText(folder, kPathSeparator, OptionFileName(names, i)));
  }
}

}  // namespace tessaly
