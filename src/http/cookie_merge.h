#pragma once

#include "text/text.h"

// Cookies as one flat text of name=value items: no domains, paths or dates.
namespace tessaly {

// The new items first, in the server's order, then the old items whose names the
// server did not set; each item once; a new item ending in "=deleted" removes its
// name from both. Blanks are removed from both variables, and the result is written
// into `oldCookies` as well.
Text MergeCookies(Text& oldCookies, Text& newCookies);

// The text before the first "=", or the whole item, trimmed.
Text CookieName(const Text& item);

// True when some item's CookieName equals `name` exactly.
bool HasCookieName(const TextArray& items, const Text& name);

// The pieces of `text` split at `separator`, each distinct piece once in order of
// first appearance, joined by the separator again.
Text JoinDistinct(const Text& text, const Text& separator);

// 1-based index of the first item equal to `text` byte for byte; -1 when none is.
int FindItem(const TextArray& items, const Text& text);

}  // namespace tessaly
