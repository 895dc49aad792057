#include "collect/product_folder.h"

#include "text/file_primitives.h"
#include "text/text_primitives.h"

namespace tessaly {

Text ProductFolder(const RunState& state) {
  return ConcatText(GetRunDirectory(), kPathSeparator, state.CategoryFolder,
                    state.ProductFolderName);
}

Text PrepareImageFolder(const RunState& state, const Text& name) {
  Text folder = ConcatText(ProductFolder(state), kPathSeparator, name);
  if (!PathExists(folder)) MakeDirectory(folder);
  return folder;
}

}  // namespace tessaly
