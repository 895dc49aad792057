#include "text/text_primitives.h"

#include <algorithm>
#include <cstring>

#include "text/character_search.h"

namespace tessaly {
namespace {

inline unsigned char ByteAt(const Text& text, std::size_t i) {
  return static_cast<unsigned char>(text[i]);
}

// Offset where a scan from 1-based `start` begins: positions below 1 count as 1.
inline std::size_t ScanOffset(int start) {
  return start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
}

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

int TextLength(const Text& text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), kNoLimit));
}

int CompareText(const Text& a, const Text& b, bool caseSensitive) {
  const std::size_t common = std::min(a.size(), b.size());
  if (caseSensitive) {
    const int result = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    if (result != 0) return Sign(result);
  } else {
    std::size_t i = 0;
    while (i < common) {
      const unsigned char x = ByteAt(a, i);
      const unsigned char y = ByteAt(b, i);
      if (IsLeadByte(x)) {
        // A two-byte character compares whole and exactly, its second byte included.
        if (x != y) return Sign(x - y);
        if (++i == common) break;
        if (a[i] != b[i]) return Sign(ByteAt(a, i) - ByteAt(b, i));
        ++i;
        continue;
      }
      if (FoldByte(x) != FoldByte(y)) return Sign(FoldByte(x) - FoldByte(y));
      ++i;
    }
  }
  return (a.size() > b.size()) - (a.size() < b.size());
}

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase) {
  const std::size_t from = ScanOffset(start);
  if (from >= text.size()) return -1;
  // An empty sought text is found at 1, whatever the start.
  if (sought.empty()) return 1;
  CharacterSearch search(text, sought, ignoreCase);
  const std::size_t found = search.FindFrom(from);
  // Positions are 32-bit: a match beyond them cannot be named, so it is not found.
  if (found == CharacterSearch::kNone || found >= static_cast<std::size_t>(kNoLimit)) return -1;
  return static_cast<int>(found + 1);
}

Text TextLeft(const Text& text, int n) {
  if (n <= 0) return {};
  return text.substr(0, std::min<std::size_t>(static_cast<std::size_t>(n), text.size()));
}

Text TextRight(const Text& text, int n) {
  if (n <= 0) return {};
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(n), text.size());
  return text.substr(text.size() - count);
}

Text TextMid(const Text& text, int start, int count) {
  if (start < 1 || count <= 0 || static_cast<std::size_t>(start) > text.size()) return {};
  return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count));
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 int count, bool caseSensitive) {
  const std::size_t from = ScanOffset(start);
  if (text.empty() || sought.empty() || from >= text.size() || count == 0) return text;
  CharacterSearch search(text, sought, !caseSensitive);
  Text result;
  result.reserve(text.size());
  std::size_t copied = 0;
  std::size_t pos = from;
  int remaining = count;  // negative: no limit
  while (remaining != 0) {
    const std::size_t found = search.FindFrom(pos);
    if (found == CharacterSearch::kNone) break;
    result.append(text, copied, found - copied);
    result += replacement;
    // The replacement is never scanned again: the scan goes on in the original.
    pos = copied = found + sought.size();
    if (remaining > 0) --remaining;
  }
  result.append(text, copied, Text::npos);
  return result;
}

TextArray SplitText(const Text& text, const Text& delimiter, int maximum) {
  TextArray parts;
  if (text.empty() || maximum <= 0) return parts;
  if (delimiter.empty()) {
    parts.Append(text);
    return parts;
  }
  CharacterSearch search(text, delimiter, false);
  std::size_t pos = 0;
  for (;;) {
    const std::size_t found = search.FindFrom(pos);
    if (found == CharacterSearch::kNone) break;
    parts.Append(text.substr(pos, found - pos));
    pos = found + delimiter.size();
    if (parts.Count() >= maximum) return parts;
  }
  // A trailing delimiter does not make an empty last part.
  if (pos < text.size()) parts.Append(text.substr(pos));
  return parts;
}

namespace {

// Width of the space character at i (1 for 0x20, 2 for 0xA1 0xA1), or 0 when the
// character there is not a space.
inline std::size_t SpaceWidth(const Text& text, std::size_t i) {
  const unsigned char byte = ByteAt(text, i);
  if (byte == 0x20) return 1;
  if (byte == 0xA1 && i + 1 < text.size() && ByteAt(text, i + 1) == 0xA1) return 2;
  return 0;
}

// Width of the character at i; a lead byte at the very end stands alone.
inline std::size_t CharacterWidth(const Text& text, std::size_t i) {
  return (IsLeadByte(ByteAt(text, i)) && i + 1 < text.size()) ? 2 : 1;
}

}  // namespace

// Both space routines walk characters, so the second byte of one character and the
// first of the next (0xB0 0xA1 0xA1 0xB0) are never taken for a full-width space.
Text TrimSpaces(const Text& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t width = SpaceWidth(text, i);
    if (width == 0) break;
    i += width;
  }
  const std::size_t begin = i;
  std::size_t end = i;
  while (i < text.size()) {
    const std::size_t width = SpaceWidth(text, i);
    if (width != 0) {
      i += width;
    } else {
      i += CharacterWidth(text, i);
      end = i;
    }
  }
  return text.substr(begin, end - begin);
}

Text RemoveSpaces(const Text& text) {
  Text result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (const std::size_t width = SpaceWidth(text, i); width != 0) {
      i += width;
      continue;
    }
    const std::size_t width = CharacterWidth(text, i);
    result.append(text, i, width);
    i += width;
  }
  return result;
}

namespace {

// Reads a text one character at a time with full-width forms as their ASCII
// counterparts: 0xA3 xx (xx from 0xA1 to 0xFE) is the byte xx - 0x80, 0xA1 0xA1 a
// space. Any other character beyond ASCII reads as 0x80, which no number holds.
class NumberReader {
 public:
  explicit NumberReader(const Text& text) : text_(text) {}

  // The current character, or -1 at the end.
  int Peek() const {
    if (pos_ >= text_.size()) return -1;
    const unsigned char byte = ByteAt(text_, pos_);
    if (!IsLeadByte(byte) || pos_ + 1 >= text_.size()) return byte < 0x80 ? byte : 0x80;
    const unsigned char second = ByteAt(text_, pos_ + 1);
    if (byte == 0xA3 && second >= 0xA1 && second <= 0xFE) return second - 0x80;
    if (byte == 0xA1 && second == 0xA1) return ' ';
    return 0x80;
  }

  void Next() { pos_ += CharacterWidth(text_, pos_); }

 private:
  const Text& text_;
  std::size_t pos_ = 0;
};

bool IsWhiteSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int ToInteger(const Text& text) {
  NumberReader reader(text);
  while (IsWhiteSpace(reader.Peek())) reader.Next();
  bool negative = false;
  if (reader.Peek() == '-' || reader.Peek() == '+') {
    negative = reader.Peek() == '-';
    reader.Next();
  }
  // Saturates at the 32-bit limits instead of wrapping around.
  constexpr long long kLimit = 1LL << 31;
  long long value = 0;
  for (int c = reader.Peek(); c >= '0' && c <= '9'; reader.Next(), c = reader.Peek()) {
    value = std::min(value * 10 + (c - '0'), kLimit);
  }
  if (negative) return static_cast<int>(-value);
  return static_cast<int>(std::min(value, kLimit - 1));
}

Text ToText(int value) { return std::to_string(value); }

Text ToText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), end);
}

Bytes ToBytes(const Text& text) { return Bytes(text.begin(), text.end()); }

int BytesLength(const Bytes& bytes) {
  return static_cast<int>(std::min<std::size_t>(bytes.size(), kNoLimit));
}

Bytes BytesLeft(const Bytes& bytes, int n) {
  if (n <= 0) return {};
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(n), bytes.size());
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes BlankBytes(int n) {
  if (n <= 0) return {};
  return Bytes(static_cast<std::size_t>(n), 0);
}

}  // namespace tessaly
