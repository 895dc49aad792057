// The system's five patterns over any subject, as the run and the decoding use them
// (every option at its default), with every query the steps make.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "text/pattern_matcher.h"

namespace {

constexpr const char* kPatterns[] = {
    "\\d{12}[.]html",
    "https://cbu\\d+[.].*?[.].*?\\d+_\\d+([.]\\d+x4.*?)[.][a-zA-Z]{3}",
    "(https://cbu.*?[.].*?[.].*?[.][a-zA-Z]{3})",
    "(https://.*?[.].*?[.].*?[.][a-zA-Z]{3})",
    "<meta.+?charset=[^\\w]?([-\\w]+)",
};

// Enough to reach every query; a hostile page may hold thousands of matches.
constexpr int kQueriedMatches = 64;

bool IsProductIdMatch(const std::string& match) {
  if (match.size() != 17) return false;
  for (std::size_t i = 0; i < 12; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(match[i]))) return false;
  }
  std::string ending = match.substr(12);
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ending == ".html";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tessaly::Text subject(reinterpret_cast<const char*>(data), size);
  tessaly::PatternMatcher matcher;
  for (std::size_t p = 0; p < sizeof kPatterns / sizeof kPatterns[0]; ++p) {
    // The patterns always compile, so a false result means the search stopped at
    // the work bound; the matches found before that point are queried all the same.
    static_cast<void>(matcher.Search(kPatterns[p], subject));
    const int count = matcher.MatchCount();
    FUZZ_CHECK(count >= 0);
    FUZZ_CHECK(matcher.MatchText(0).empty() && matcher.MatchText(count + 1).empty());
    FUZZ_CHECK(matcher.SubMatchText(1, 2).empty() && matcher.SubMatchText(1, 0).empty());
    for (int i = 1; i <= count && i <= kQueriedMatches; ++i) {
      const tessaly::Text match = matcher.MatchText(i);
      FUZZ_CHECK(!match.empty());
      if (p == 0) FUZZ_CHECK(IsProductIdMatch(match));
      const tessaly::Text group = matcher.SubMatchText(i, 1);
      if (p != 0) FUZZ_CHECK(match.find(group) != tessaly::Text::npos);
    }
    static_cast<void>(matcher.SubMatchCount());
  }
  return 0;
}
