#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>

// The replacement patterns of ECMAScript's String.prototype.replace, expanded for
// one match. Works on any byte encoding in which '$' and the ASCII digits never
// occur inside a multi-byte character (UTF-8 here).
namespace tessaly {

// An offset of a capture group that took no part in the match.
inline constexpr std::size_t kUnsetOffset = std::numeric_limits<std::size_t>::max();

// `spans` holds, for the whole match and then for each capture group in order,
// its start and end offset in `subject`. Appends `replacement` to `out` with:
//   $$  a dollar sign           $&  the whole match
//   $`  the subject before it   $'  the subject after it
//   $n, $nn  capture group n or nn (1..99); empty when the group took no part.
// Two digits name a group when that group exists, otherwise the first digit alone
// does and the second is kept literally; a "$" that starts none of these, and a
// group number beyond the pattern's groups, stay as they are.
void AppendEcmaReplacement(std::string& out, std::string_view replacement, std::string_view subject,
                           std::span<const std::size_t> spans);

}  // namespace tessaly
