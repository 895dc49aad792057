#include "text/pattern_matcher.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/ecma_replacement.h"
#include "text/gbk.h"
#include "text/pcre2_handles.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

static_assert(PCRE2_UNSET == kUnsetOffset);

// Bounds on the engine's work, so that a page built to make a backtracker explode
// costs a fraction of a second instead of hanging the run. A search that reaches
// one of them stops there: it reports that it did not run to the end, and keeps
// the matches found before that point. PCRE2 applies the match and depth limits to each
// attempt at a starting position, not to the whole search; the system's lazy
// image patterns can cost (line length)^2 or more per attempt on a long line that
// never completes, which is exactly what these stop. Legitimate matches of the
// system's patterns cost a few hundred steps; scanning a multi-megabyte page costs
// little per position, because most positions are skipped before an attempt.
//  - match limit: backtracking steps per attempt (PCRE2's own default; about
//    0.2 s interpreted, a few hundredths of a second with JIT);
//  - depth limit and heap limit: the interpreter's backtracking frames (a lazy
//    ".*?" needs none, so long spans of one line cost nothing here);
//  - JIT stack: the compiled code's equivalent of the two.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 1'000'000;
constexpr std::uint32_t kHeapLimitKib = 256 * 1024;
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 8 * 1024 * 1024;

// ECMAScript's rules, as far as PCRE2 offers them:
//  - UTF without UCP: \d, \w and \b stay ASCII, so no byte of a Chinese
//    character can ever match \d, \w or [a-zA-Z];
//  - "$" without multiline matches only at the very end, not before a final "\n";
//  - multiline "^" also matches after a line break that ends the subject;
//  - \uXXXX and \xXX as in ECMAScript;
//  - a back-reference to a group that took no part matches the empty text;
//  - "[]" matches nothing and "[^]" any character;
//  - \C (one code unit) is refused: it could split a character.
// \s, \S and \v are rewritten before compiling (see ToPcre2Pattern).
// Line breaks (compile context): CR, LF and CRLF. The dot stops at all three,
// and multiline ^ and $ treat each as a line end; U+2028 and U+2029 do not
// occur in GBK.
constexpr std::uint32_t kCompileOptions = PCRE2_UTF | PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_BSUX |
                                          PCRE2_ALT_CIRCUMFLEX | PCRE2_MATCH_UNSET_BACKREF |
                                          PCRE2_ALLOW_EMPTY_CLASS | PCRE2_NEVER_BACKSLASH_C;

// ECMAScript's white space and line terminators, the characters \s stands for,
// written as the inside of a character class (PCRE2's own \s knows only the
// ASCII ones, so the full-width space U+3000 would be missed).
constexpr std::string_view kSpaceRanges =
    "\\t-\\r\\x20\\xa0\\u1680\\u2000-\\u200a\\u2028\\u2029\\u202f\\u205f\\u3000\\ufeff";
// Every other character, up to U+10FFFF (written out: \u takes four digits only),
// for \S inside a class, where a negated set cannot be nested.
constexpr std::string_view kNonSpaceRanges =
    "\\x00-\\x08\\x0e-\\x1f\\x21-\\x9f\\xa1-\\u167f\\u1681-\\u1fff\\u200b-\\u2027"
    "\\u202a-\\u202e\\u2030-\\u205e\\u2060-\\u2fff\\u3001-\\ufefe\\uff00-\xF4\x8F\xBF\xBF";

// The UTF-8 pattern with the escapes whose meaning differs between ECMAScript
// and PCRE2 rewritten: \s and \S as ECMAScript's white-space set and its
// complement, \v as the vertical tab alone (PCRE2's \v is every vertical space).
// Escapes are read in pairs, so "\\s" stays a backslash followed by "s"; inside
// a class the sets are spliced in as ranges. A "]" always closes a class, as
// both ECMAScript and PCRE2 with empty classes allowed read it.
std::string ToPcre2Pattern(std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size());
  bool inClass = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '\\' && i + 1 < pattern.size()) {
      const char escaped = pattern[++i];
      if (escaped == 's') {
        if (!inClass) out += '[';
        out += kSpaceRanges;
        if (!inClass) out += ']';
      } else if (escaped == 'S') {
        if (inClass) {
          out += kNonSpaceRanges;
        } else {
          out += "[^";
          out += kSpaceRanges;
          out += ']';
        }
      } else if (escaped == 'v') {
        out += "\\x0b";
      } else {
        out += c;
        out += escaped;
      }
      continue;
    }
    if (c == '[') inClass = true;
    if (c == ']') inClass = false;
    out += c;
  }
  return out;
}

std::size_t Utf8CharacterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

PCRE2_SPTR Units(const std::string& text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

}  // namespace

struct PatternMatcher::State {
  pcre2::CompileContext compileContext;
  pcre2::MatchContext matchContext;
  pcre2::JitStack jitStack;

  Text pattern;         // GBK, after quote expansion
  std::string subject;  // UTF-8, as the engine saw it
  bool ran = false;
  // Per match, start and end offsets in `subject` of the whole match and then of
  // each group: 2 * (groups + 1) offsets.
  std::size_t spansPerMatch = 0;
  std::vector<std::size_t> spans;

  bool Ready() const { return compileContext && matchContext; }

  void ForgetMatches() {
    ran = false;
    spansPerMatch = 0;
    spans.clear();
  }

  int Count() const {
    if (!ran || spansPerMatch == 0) return 0;
    return static_cast<int>(spans.size() / spansPerMatch);
  }

  int Groups() const { return spansPerMatch == 0 ? 0 : static_cast<int>(spansPerMatch / 2 - 1); }

  // The 1-based match `index`; empty when there is no such match.
  std::span<const std::size_t> Match(int index) const {
    if (index < 1 || index > Count()) return {};
    return std::span(spans).subspan(static_cast<std::size_t>(index - 1) * spansPerMatch,
                                    spansPerMatch);
  }

  Text Slice(std::size_t start, std::size_t end) const {
    if (start == kUnsetOffset || end == kUnsetOffset || start >= end || end > subject.size())
      return {};
    return Utf8ToGbk(std::string_view(subject).substr(start, end - start));
  }

  enum class Outcome { kRejected, kStopped, kFinished };
  Outcome Run(const std::string& utf8Pattern, std::uint32_t options, bool global);
};

PatternMatcher::State::Outcome PatternMatcher::State::Run(const std::string& utf8Pattern,
                                                          std::uint32_t options, bool global) {
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2::Code code(pcre2_compile(Units(utf8Pattern), utf8Pattern.size(), options, &error,
                                 &errorOffset, compileContext.get()));
  if (!code) return Outcome::kRejected;
  // Without JIT (not built in, or no executable memory) the interpreter serves.
  pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);
  pcre2::MatchData data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
  if (!data) return Outcome::kRejected;

  const std::size_t pairs = pcre2_get_ovector_count(data.get());
  std::vector<std::size_t> found;
  const std::size_t length = subject.size();
  PCRE2_SIZE offset = 0;
  // The first call checks the whole subject for valid UTF-8 (the GBK conversion
  // always yields valid UTF-8, so this only guards); later calls start at
  // character boundaries of the same checked subject and skip the check.
  std::uint32_t matchOptions = 0;
  Outcome outcome = Outcome::kFinished;
  while (offset <= length) {
    const int rc = pcre2_match(code.get(), Units(subject), length, offset, matchOptions, data.get(),
                               matchContext.get());
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) {
      // The work bound was reached (or the engine failed otherwise) past the
      // matches found so far: those stay, as a page with one pathological line
      // must not lose the addresses before it.
      outcome = Outcome::kStopped;
      break;
    }
    matchOptions = PCRE2_NO_UTF_CHECK;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    const std::size_t set = rc == 0 ? pairs : static_cast<std::size_t>(rc);
    for (std::size_t pair = 0; pair < pairs; ++pair) {
      found.push_back(pair < set ? ovector[2 * pair] : kUnsetOffset);
      found.push_back(pair < set ? ovector[2 * pair + 1] : kUnsetOffset);
    }
    if (!global) break;
    const std::size_t start = ovector[0];
    const std::size_t end = ovector[1];
    if (end > start) {
      offset = end;
    } else {
      // As ECMAScript does after an empty match: the next attempt starts one
      // character further on, and may begin a longer match there.
      if (start >= length) break;
      offset =
          std::min(length, start + Utf8CharacterLength(static_cast<unsigned char>(subject[start])));
    }
  }
  spansPerMatch = 2 * pairs;
  spans = std::move(found);
  ran = true;
  return outcome;
}

PatternMatcher::PatternMatcher() : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.compileContext.reset(pcre2_compile_context_create(nullptr));
  if (state.compileContext) pcre2_set_newline(state.compileContext.get(), PCRE2_NEWLINE_ANYCRLF);
  state.matchContext.reset(pcre2_match_context_create(nullptr));
  if (!state.matchContext) return;
  pcre2_set_match_limit(state.matchContext.get(), kMatchLimit);
  pcre2_set_depth_limit(state.matchContext.get(), kDepthLimit);
  pcre2_set_heap_limit(state.matchContext.get(), kHeapLimitKib);
  state.jitStack.reset(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
  // Without a stack of its own JIT code uses a small one on the machine stack.
  if (state.jitStack)
    pcre2_jit_stack_assign(state.matchContext.get(), nullptr, state.jitStack.get());
}

PatternMatcher::~PatternMatcher() = default;

bool PatternMatcher::Search(const Text& pattern, const Text& subject, bool caseSensitive,
                            bool multiline, bool global, bool expandQuoteMarker) {
  std::uint32_t options = kCompileOptions;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  if (multiline) options |= PCRE2_MULTILINE;

  State& state = *state_;
  state.ForgetMatches();
  state.pattern = expandQuoteMarker ? ExpandQuoteMarker(pattern) : pattern;
  state.subject = GbkToUtf8(subject);
  if (!state.Ready()) return false;
  switch (state.Run(ToPcre2Pattern(GbkToUtf8(state.pattern)), options, global)) {
    case State::Outcome::kRejected:
      state.ForgetMatches();
      return false;
    case State::Outcome::kStopped:
      return false;
    case State::Outcome::kFinished:
      break;
  }
  return true;
}

Text PatternMatcher::GetPattern() const { return state_->pattern; }

Text PatternMatcher::Replace(const Text& replacement) const {
  const State& state = *state_;
  if (!state.ran) return {};
  const std::string utf8Replacement = GbkToUtf8(replacement);
  std::string out;
  out.reserve(state.subject.size());
  std::size_t copied = 0;
  for (int index = 1; index <= state.Count(); ++index) {
    const std::span<const std::size_t> match = state.Match(index);
    const std::size_t start = std::max(copied, match[0]);
    out.append(state.subject, copied, start - copied);
    AppendEcmaReplacement(out, utf8Replacement, state.subject, match);
    copied = std::max(start, match[1]);
  }
  out.append(state.subject, copied);
  return Utf8ToGbk(out);
}

int PatternMatcher::MatchCount() const { return state_->Count(); }

Text PatternMatcher::MatchText(int index) const {
  const std::span<const std::size_t> match = state_->Match(index);
  if (match.empty()) return {};
  return state_->Slice(match[0], match[1]);
}

Text PatternMatcher::SubMatchText(int matchIndex, int groupIndex) const {
  const std::span<const std::size_t> match = state_->Match(matchIndex);
  if (match.empty() || groupIndex < 1 || groupIndex > state_->Groups()) return {};
  const std::size_t pair = static_cast<std::size_t>(groupIndex);
  return state_->Slice(match[2 * pair], match[2 * pair + 1]);
}

int PatternMatcher::SubMatchCount() const { return state_->Count() > 0 ? state_->Groups() : 0; }

}  // namespace tessaly
