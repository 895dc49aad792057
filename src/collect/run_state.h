#pragma once

#include <map>

#include "collect/window_operations.h"
#include "text/pattern_matcher.h"
#include "text/text.h"

namespace tessaly {

// The working values of one collection run, created empty when the run starts and
// released when it ends. The steps read and fill its fields.
struct RunState {
  explicit RunState(WindowOperations& window) : Window(window) {}

  WindowOperations& Window;
  Text CategoryFolder;  // relative to the run directory, always ends with a separator
  Text RemoteVersionText;
  Text LocalVersionText;
  PatternMatcher IdMatcher;
  int ProductCount = 0;
  int ProductIndex = 0;
  Text MatchedText;
  Text ProductId;
  Text CookieText;
  Text PageText;
  Text Title;
  Text ProductFolderName;
  Text ItemNumber;
  Text Price;
  PatternMatcher ImageMatcher;
  // Every picture file this run has written: its path, and the address of the
  // picture written there whole (empty for a placeholder or a part). A file this
  // run wrote holds no picture worth keeping for another product.
  std::map<Text, Text> PicturesWritten;
};

}  // namespace tessaly
