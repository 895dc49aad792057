#pragma once

#include <limits>
#include <string_view>

#include "text/text.h"

// The primitive operations on texts and byte arrays. Their edges are the system's
// behaviour: 1-based byte positions, -1 for "not found", character-aware scans
// that never match at the second byte of a two-byte character, and case folding
// of the ASCII letters only.
namespace tessaly {

inline constexpr int kNoLimit = std::numeric_limits<int>::max();
inline constexpr int kAllOccurrences = -1;

int TextLength(const Text& text);

template <typename... Parts>
Text ConcatText(const Parts&... parts) {
  Text result;
  result.reserve((std::string_view(parts).size() + ... + 0));
  (result.append(std::string_view(parts)), ...);
  return result;
}

// 0 when equal, negative when a sorts first (unsigned bytes), positive otherwise.
// caseSensitive false folds ASCII letters; two-byte characters compare whole.
int CompareText(const Text& a, const Text& b, bool caseSensitive = true);

// Note the sense: ignoreCase true folds case here, while ReplaceText's last
// argument true compares exactly.
int FindText(const Text& text, const Text& sought, int start = 1, bool ignoreCase = false);

Text TextLeft(const Text& text, int n);
Text TextRight(const Text& text, int n);
Text TextMid(const Text& text, int start, int count);

// count: how many replacements at most; kAllOccurrences (any negative) means all.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = {}, int start = 1,
                 int count = kAllOccurrences, bool caseSensitive = false);

// maximum: number of parts at most; a negative maximum counts as 0.
TextArray SplitText(const Text& text, const Text& delimiter = ",", int maximum = kNoLimit);

// Spaces are the byte 0x20 and the full-width space 0xA1 0xA1, nothing else.
Text TrimSpaces(const Text& text);
Text RemoveSpaces(const Text& text);

int ToInteger(const Text& text);
Text ToText(int value);
Text ToText(const Bytes& bytes);
Bytes ToBytes(const Text& text);

int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int n);
Bytes BlankBytes(int n);

}  // namespace tessaly
