#include "collect/safe_name.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "text/character_search.h"
#include "text/file_primitives.h"

namespace tessaly {
namespace {

// Whether `name` followed by `suffix` is made of dots and spaces only, with at
// least one dot.
bool IsDotsAndSpaces(const Text& name, const Text& suffix) {
  const bool hasDot = name.find('.') != Text::npos || suffix.find('.') != Text::npos;
  return hasDot && name.find_first_not_of(". ") == Text::npos &&
         suffix.find_first_not_of(". ") == Text::npos;
}

// Byte offsets at which a character ends, for prefixes of at most `limit` bytes.
std::vector<std::size_t> CharacterEnds(const Text& name, std::size_t limit) {
  std::vector<std::size_t> ends;
  std::size_t at = 0;
  while (at < name.size()) {
    const bool lead = IsLeadByte(static_cast<unsigned char>(name[at])) && at + 1 < name.size();
    const std::size_t next = at + (lead ? 2 : 1);
    if (next > limit) break;
    ends.push_back(next);
    at = next;
  }
  return ends;
}

std::size_t NativeLength(const Text& name, const Text& suffix) {
  return NativePath(name + suffix).size();
}

// Every character takes at least as many bytes in UTF-8 as in GBK (and a byte that
// is no GBK character becomes the three-byte replacement character), so a prefix
// longer than the limit in GBK bytes can never fit.
Text FitToFileSystem(const Text& name, const Text& suffix) {
  const std::size_t limit = static_cast<std::size_t>(kMaxNameBytes);
  if (NativeLength(name, suffix) <= limit) return name;
  std::vector<std::size_t> ends = CharacterEnds(name, limit);
  while (!ends.empty()) {
    Text prefix = name.substr(0, ends.back());
    if (NativeLength(prefix, suffix) <= limit) return prefix;
    ends.pop_back();
  }
  return {};
}

bool IsReservedDeviceName(const Text& name) {
  // The part before the first dot, without blanks after it, names the device.
  Text base = name.substr(0, name.find('.'));
  base.erase(base.find_last_not_of(' ') + 1);
  for (char& c : base) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

Text WindowsSafeName(const Text& name, const Text& suffix) {
  Text safe = name;
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == ':' || c == '<' || c == '>' || c == '"') c = '_';
  }
  if (suffix.find_last_not_of(". ") == Text::npos) {
    // The suffix does not end the name with something else: trailing dots and
    // spaces of the name itself would be the end of the name as written.
    for (std::size_t end = safe.size(); end > 0 && (safe[end - 1] == '.' || safe[end - 1] == ' ');
         --end) {
      safe[end - 1] = '_';
    }
  }
  if (IsReservedDeviceName(safe + suffix)) safe.insert(0, 1, '_');
  return safe;
}

Text SafeName(const Text& name, const Text& suffix) {
  Text safe = name;
  std::replace(safe.begin(), safe.end(), '\0', '_');
  std::replace(safe.begin(), safe.end(), '/', '_');
  safe = FitToFileSystem(safe, suffix);
  // Only the name as written counts: "." and ".." with a suffix (..jpg, ...txt)
  // already name a file of their own and stay apart from each other and from "_".
  if (IsDotsAndSpaces(safe, suffix)) return Text(1, '_');
#ifdef _WIN32
  // The leading "_" of a device name may take the name over the limit; the cut
  // may then leave a dot or a space at the end, which the second pass mends.
  safe = WindowsSafeName(FitToFileSystem(WindowsSafeName(safe, suffix), suffix), suffix);
#endif
  return safe;
}

}  // namespace tessaly
