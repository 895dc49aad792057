#pragma once

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
};

}  // namespace tessaly
