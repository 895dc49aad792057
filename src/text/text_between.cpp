#include "text/text_between.h"

#include "text/desktop.h"
#include "text/text_primitives.h"

namespace tessaly {

Text ExpandQuoteMarker(const Text& text) {
  return ReplaceText(text, kQuoteMarker, "\"", 1, kAllOccurrences, true);
}

// Empty markers give nothing. Taken literally, an empty left marker would be found
// at position 1 wherever the search starts, and AllTextsBetween would never get
// past it.
Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool ignoreCase) {
  if (left.empty() || right.empty()) return {};
  const Text effective_left = ExpandQuoteMarker(left);
  const Text effective_right = ExpandQuoteMarker(right);
  int p = FindText(text, effective_left, start, ignoreCase);
  if (p == -1) return {};
  p += TextLength(effective_left);
  // The right marker is looked for only after the left one, never inside it.
  const int q = FindText(text, effective_right, p, ignoreCase);
  if (q == -1) return {};
  return TextMid(text, p, q - p);
}

int AllTextsBetween(const Text& text, const Text& left, const Text& right, TextArray& items,
                    bool caseSensitive, int maxLength, const Text& prefix, const Text& suffix,
                    bool keepLeft, bool keepRight, int start) {
  items.Clear();
  if (left.empty() || right.empty()) return 0;
  int pos = start;
  for (;;) {
    const int e = FindText(text, left, pos, !caseSensitive);
    if (e == -1) break;
    const int content = e + TextLength(left);
    const int f = FindText(text, right, content, !caseSensitive);
    if (f == -1) break;
    pos = content;
    Text element = ConcatText(prefix, TrimSpaces(TextMid(text, pos, f - pos)), suffix);
    if (!element.empty()) {
      if (keepLeft) element = ConcatText(left, element);
      if (keepRight) element = ConcatText(element, right);
      if (maxLength == 0) {
        items.Append(std::move(element));
      } else {
        if (TextLength(element) < maxLength) items.Append(std::move(element));
        ProcessEvents();
      }
      // A left marker inside the element's content is skipped; the right marker
      // itself may begin the next left one.
      pos = f;
    }
    ProcessEvents();
    ProcessEvents();
    ProcessEvents();
  }
  return items.Count();
}

}  // namespace tessaly
