// FindText, ReplaceText and SplitText over any text and sought text, each checked
// against a plain forward character scan: the routines find their candidates with
// memchr and a KMP automaton and check the character start backwards, so the two
// must agree on every input, malformed GBK included.
//
// Input: [flags] [start] [count] sought \0 replacement \0 text…
//   flags bit 0: FindText ignores case; bit 1: ReplaceText compares exactly;
//   bit 2: SplitText without a maximum (else the count byte is the maximum).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "text/text_primitives.h"

namespace {

using tessaly::Text;

unsigned char Fold(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 32) : byte;
}

bool MatchesAt(const Text& text, const Text& sought, std::size_t at, bool foldCase) {
  if (at + sought.size() > text.size()) return false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    auto a = static_cast<unsigned char>(text[at + k]);
    auto b = static_cast<unsigned char>(sought[k]);
    if (foldCase) {
      a = Fold(a);
      b = Fold(b);
    }
    if (a != b) return false;
  }
  return true;
}

// A lead byte at the very end of the text is a character of its own.
std::size_t Width(const Text& text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  return byte >= 0x81 && byte <= 0xFE && at + 1 < text.size() ? 2 : 1;
}

std::size_t From(int start) { return start < 1 ? 0 : static_cast<std::size_t>(start) - 1; }

int ReferenceFind(const Text& text, const Text& sought, int start, bool ignoreCase) {
  const std::size_t from = From(start);
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  for (std::size_t at = from; at + sought.size() <= text.size(); at += Width(text, at)) {
    if (MatchesAt(text, sought, at, ignoreCase)) return static_cast<int>(at) + 1;
  }
  return -1;
}

Text ReferenceReplace(const Text& text, const Text& sought, const Text& replacement, int start,
                      int count, bool caseSensitive) {
  const std::size_t from = From(start);
  if (text.empty() || sought.empty() || from >= text.size() || count == 0) return text;
  Text result = text.substr(0, from);
  std::size_t at = from;
  int remaining = count;
  while (at + sought.size() <= text.size()) {
    if (remaining != 0 && MatchesAt(text, sought, at, !caseSensitive)) {
      result += replacement;
      at += sought.size();
      if (remaining > 0) --remaining;
      continue;
    }
    const std::size_t width = Width(text, at);
    result.append(text, at, width);
    at += width;
  }
  if (at < text.size()) result.append(text, at, Text::npos);
  return result;
}

std::vector<Text> ReferenceSplit(const Text& text, const Text& delimiter, int maximum) {
  std::vector<Text> parts;
  if (text.empty() || maximum <= 0) return parts;
  if (delimiter.empty()) return {text};
  std::size_t part = 0;
  std::size_t at = 0;
  while (at + delimiter.size() <= text.size()) {
    if (MatchesAt(text, delimiter, at, false)) {
      parts.push_back(text.substr(part, at - part));
      at += delimiter.size();
      part = at;
      if (static_cast<int>(parts.size()) >= maximum) return parts;
      continue;
    }
    at += Width(text, at);
  }
  if (part < text.size()) parts.push_back(text.substr(part));
  return parts;
}

// The text with the ASCII letters at character starts in upper case: equal to the
// original when case is ignored.
Text UpperAtCharacterStarts(const Text& text) {
  Text upper = text;
  for (std::size_t at = 0; at < upper.size(); at += Width(upper, at)) {
    const auto byte = static_cast<unsigned char>(upper[at]);
    if (byte >= 'a' && byte <= 'z') upper[at] = static_cast<char>(byte - 32);
  }
  return upper;
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tessaly::fuzz::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  const int start = input.SmallNumber();
  const int count = input.SmallNumber();
  const Text sought = input.Field();
  const Text replacement = input.Field();
  const Text text = input.Rest();
  const bool ignoreCase = (flags & 1) != 0;
  const bool caseSensitive = (flags & 2) != 0;
  const int maximum = (flags & 4) != 0 ? tessaly::kNoLimit : count;

  FUZZ_CHECK(tessaly::FindText(text, sought, start, ignoreCase) ==
             ReferenceFind(text, sought, start, ignoreCase));
  FUZZ_CHECK(tessaly::ReplaceText(text, sought, replacement, start, count, caseSensitive) ==
             ReferenceReplace(text, sought, replacement, start, count, caseSensitive));

  const tessaly::TextArray parts = tessaly::SplitText(text, sought, maximum);
  const std::vector<Text> expected = ReferenceSplit(text, sought, maximum);
  FUZZ_CHECK(std::vector<Text>(parts.begin(), parts.end()) == expected);
  FUZZ_CHECK(parts.Item(0).empty() && parts.Item(parts.Count() + 1).empty());

  const Text trimmed = tessaly::TrimSpaces(text);
  FUZZ_CHECK(text.find(trimmed) != Text::npos);
  FUZZ_CHECK(tessaly::RemoveSpaces(text).size() <= text.size());

  FUZZ_CHECK(tessaly::CompareText(text, text) == 0);
  FUZZ_CHECK(Sign(tessaly::CompareText(text, sought, caseSensitive)) ==
             -Sign(tessaly::CompareText(sought, text, caseSensitive)));
  FUZZ_CHECK(tessaly::CompareText(text, UpperAtCharacterStarts(text), false) == 0);

  FUZZ_CHECK(tessaly::TextLeft(text, start).size() <= text.size());
  FUZZ_CHECK(tessaly::TextRight(text, count).size() <= text.size());
  FUZZ_CHECK(tessaly::TextMid(text, start, count).size() <=
             static_cast<std::size_t>(std::max(count, 0)));
  static_cast<void>(tessaly::ToInteger(text));
  return 0;
}
