#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The character-aware scan shared by FindText, ReplaceText and SplitText: a match
// counts only where a character starts, counting characters from the scan's
// starting position (a lead byte, 0x81 to 0xFE, begins a two-byte character).
//
// Speed matters because pages of several megabytes are searched many times over:
// candidates are found with memchr and a KMP automaton (so the scan is linear even
// for repetitive texts), and only a full match is checked for a character start.
// That check looks backwards: the byte after any byte that is no lead byte always
// starts a character (such a byte either stands alone or ends a two-byte
// character, whose second byte may be anything, 0x80 and 0xFF included), so a
// candidate starts a character exactly when the run of lead bytes just before it,
// back to such a byte or to the last known character start, has even length.
// Known starts only move forwards, so all checks together read each byte at most
// once.
//
// Malformed text: a lead byte that is the very last byte of the text is a one-byte
// character of its own, so a match may still begin there (a forward scan that
// steps two bytes at a lead byte tries that position too).
namespace tessaly {

// Code page 936: 0x81 to 0xFE begin a two-byte character; every other byte,
// the euro sign 0x80 and 0xFF among them, is a character of its own unless it
// follows a lead byte.
inline bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Case folding of the ASCII letters only; every other byte stays as it is.
inline unsigned char FoldByte(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

class CharacterSearch {
 public:
  static constexpr std::size_t kNone = std::string_view::npos;

  // `sought` must not be empty. foldCase folds the ASCII letters, byte by byte.
  // Both views must outlive the search.
  CharacterSearch(std::string_view text, std::string_view sought, bool foldCase);

  // Offset of the first match at or after `from`, which is taken to be a character
  // start; kNone when there is none.
  std::size_t FindFrom(std::size_t from);

 private:
  unsigned char ByteAt(std::size_t i) const;
  std::size_t NextFirstByte(std::size_t from, std::size_t end);
  bool IsCharacterStart(std::size_t candidate);

  const unsigned char* text_;
  std::size_t size_;
  bool fold_;
  std::vector<unsigned char> pattern_;  // folded when fold_
  std::vector<std::size_t> border_;     // KMP: longest proper border of pattern_[0..k]
  bool first_is_letter_ = false;        // fold_ and the first byte is a letter
  std::size_t known_start_ = 0;
};

}  // namespace tessaly
