#include "http/cookie_merge.h"

#include "text/text_primitives.h"

namespace tessaly {

Text MergeCookies(Text& oldCookies, Text& newCookies) {
  oldCookies = RemoveSpaces(oldCookies);
  newCookies = RemoveSpaces(newCookies);
  const TextArray oldItems = SplitText(oldCookies, ";");
  TextArray combined = SplitText(newCookies, ";");
  for (const Text& item : oldItems) {
    if (!HasCookieName(combined, CookieName(item))) combined.Append(item);
  }
  Text merged;
  for (const Text& item : combined) {
    if (CompareText(TextRight(item, 8), "=deleted") != 0) merged += item + "; ";
  }
  merged = TextLeft(merged, TextLength(merged) - 2);
  merged = JoinDistinct(merged, "; ");
  oldCookies = merged;
  return merged;
}

Text CookieName(const Text& item) {
  const int equals = FindText(item, "=");
  return TrimSpaces(equals == -1 ? item : TextLeft(item, equals - 1));
}

bool HasCookieName(const TextArray& items, const Text& name) {
  for (const Text& item : items) {
    if (CompareText(CookieName(item), name) == 0) return true;
  }
  return false;
}

Text JoinDistinct(const Text& text, const Text& separator) {
  TextArray taken;
  Text joined;
  for (const Text& piece : SplitText(text, separator)) {
    if (FindItem(taken, piece) != -1) continue;
    taken.Append(piece);
    joined += piece + separator;
  }
  return TextLeft(joined, TextLength(joined) - TextLength(separator));
}

int FindItem(const TextArray& items, const Text& text) {
  for (int i = 1; i <= items.Count(); ++i) {
    if (CompareText(items.Item(i), text) == 0) return i;
  }
  return -1;
}

}  // namespace tessaly
