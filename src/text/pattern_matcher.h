#pragma once

#include <memory>

#include "text/text.h"

namespace tessaly {

// The regular-expression object: one ECMAScript-style pattern over one subject,
// then questions about the result. Patterns and subjects are GBK texts; matching
// works on characters (a Chinese character is one character for "."), and every
// text that comes back is GBK again. Each Search starts from scratch and replaces
// what the previous one found.
class PatternMatcher {
 public:
  PatternMatcher();
  ~PatternMatcher();
  PatternMatcher(const PatternMatcher&) = delete;
  PatternMatcher& operator=(const PatternMatcher&) = delete;

  // True when the search ran, also when it found nothing; false when the pattern
  // was rejected (no matches then) or the search stopped at the engine's work
  // bound (the matches found before that point stay).
  bool Search(const Text& pattern, const Text& subject, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool expandQuoteMarker = false);
  Text GetPattern() const;
  Text Replace(const Text& replacement) const;
  int MatchCount() const;
  Text MatchText(int index) const;
  Text SubMatchText(int matchIndex, int groupIndex) const;
  int SubMatchCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tessaly
