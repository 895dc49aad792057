#include "text/character_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessaly {

CharacterSearch::CharacterSearch(std::string_view text, std::string_view sought, bool foldCase)
    : text_(reinterpret_cast<const unsigned char*>(text.data())),
      size_(text.size()),
      fold_(foldCase),
      pattern_(sought.begin(), sought.end()),
      border_(sought.size(), 0) {
  if (fold_) {
    for (unsigned char& byte : pattern_) byte = FoldByte(byte);
    first_is_letter_ = !pattern_.empty() && pattern_[0] >= 'a' && pattern_[0] <= 'z';
  }
  std::size_t length = 0;
  for (std::size_t k = 1; k < pattern_.size(); ++k) {
    while (length > 0 && pattern_[k] != pattern_[length]) length = border_[length - 1];
    if (pattern_[k] == pattern_[length]) ++length;
    border_[k] = length;
  }
}

unsigned char CharacterSearch::ByteAt(std::size_t i) const {
  return fold_ ? FoldByte(text_[i]) : text_[i];
}

namespace {

std::size_t MemchrOffset(const unsigned char* text, unsigned char byte, std::size_t from,
                         std::size_t end) {
  const void* hit = std::memchr(text + from, byte, end - from);
  return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text)
             : CharacterSearch::kNone;
}

// The first offset in [from, end) that holds the lower-case ASCII letter `lower` in
// either case. The two cases differ only in bit 0x20, so setting that bit in every
// byte leaves one byte to compare, and exactly the two cases compare equal.
std::size_t FindEitherCase(const unsigned char* text, unsigned char lower, std::size_t from,
                           std::size_t end) {
#if defined(__SSE2__)
  const __m128i case_bit = _mm_set1_epi8(0x20);
  const __m128i needle = _mm_set1_epi8(static_cast<char>(lower));
  for (; end - from >= 32; from += 32) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from + 16));
    const unsigned mask_a =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(a, case_bit), needle)));
    const unsigned mask_b =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(b, case_bit), needle)));
    if ((mask_a | mask_b) != 0) {
      return from + static_cast<std::size_t>(__builtin_ctz(mask_a != 0 ? mask_a : mask_b) +
                                             (mask_a != 0 ? 0 : 16));
    }
  }
#endif
  // What is left after the wide loop, or the whole range where it is not built.
  for (; from < end; ++from) {
    if ((text[from] | 0x20) == lower) return from;
  }
  return CharacterSearch::kNone;
}

}  // namespace

// The next offset in [from, end) that holds the sought text's first byte (in either
// case when folding); kNone when there is none.
std::size_t CharacterSearch::NextFirstByte(std::size_t from, std::size_t end) {
  if (from >= end) return kNone;
  if (first_is_letter_) return FindEitherCase(text_, pattern_[0], from, end);
  return MemchrOffset(text_, pattern_[0], from, end);
}

bool CharacterSearch::IsCharacterStart(std::size_t candidate) {
  std::size_t run_begin = candidate;
  while (run_begin > known_start_ && IsLeadByte(text_[run_begin - 1])) --run_begin;
  const bool starts = (candidate - run_begin) % 2 == 0;
  // Either the candidate starts a character, or it is the second byte of one and
  // the next byte does.
  known_start_ = starts ? candidate : candidate + 1;
  return starts;
}

std::size_t CharacterSearch::FindFrom(std::size_t from) {
  const std::size_t length = pattern_.size();
  if (length == 0 || from > size_ || size_ - from < length) return kNone;
  const std::size_t first_end = size_ - length + 1;  // a match must begin before this
  known_start_ = from;

  std::size_t matched = 0;  // KMP state: bytes of pattern_ matched so far
  std::size_t i = from;
  for (;;) {
    if (matched == 0) {
      i = NextFirstByte(i, first_end);
      if (i == kNone) return kNone;
      matched = 1;
      ++i;
    } else {
      if (size_ - i < length - matched) return kNone;
      const unsigned char byte = ByteAt(i);
      while (matched > 0 && byte != pattern_[matched]) matched = border_[matched - 1];
      if (byte == pattern_[matched]) ++matched;
      ++i;
    }
    if (matched == length) {
      const std::size_t candidate = i - length;
      if (IsCharacterStart(candidate)) return candidate;
      matched = border_[length - 1];
    }
  }
}

}  // namespace tessaly
