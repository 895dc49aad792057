#pragma once

#include "text/text.h"

namespace tessaly {

// "#引号" in GBK: stands for one double quote in TextBetween's markers.
inline constexpr char kQuoteMarker[] = "#\xD2\xFD\xBA\xC5";

// `text` with every quote marker replaced by a double quote, left to right.
Text ExpandQuoteMarker(const Text& text);

Text TextBetween(const Text& text, const Text& left, const Text& right, int start = 0,
                 bool ignoreCase = false);

// Note the sense: caseSensitive false (the default) finds the markers ignoring
// ASCII case, while TextBetween by default matches them exactly.
int AllTextsBetween(const Text& text, const Text& left, const Text& right, TextArray& items,
                    bool caseSensitive = false, int maxLength = 0, const Text& prefix = {},
                    const Text& suffix = {}, bool keepLeft = false, bool keepRight = false,
                    int start = 0);

}  // namespace tessaly
