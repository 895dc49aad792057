#pragma once

#include <vector>

#include "text/text.h"

namespace tessaly {

// The request header block: the caller's lines first, unchanged, then each default
// line whose header the block does not mention yet (the test looks anywhere in the
// block, not only at line starts), the cookie line last. `cookies` == nullptr means
// the caller supplied none.
Text ComposeHeaderBlock(const Text& extraHeaders, int method, const Text* cookies);

// The name of a header line: the text before its first colon, without blanks
// around it. Empty for a line without a colon.
Text HeaderName(const Text& line);

// The block's lines as they go on the wire. Each line takes the place of an earlier
// line of the same name (names compare without regard to case): the header keeps
// the position where it first appeared and carries the later line. Any line break
// (CR LF, a lone CR or LF) ends a line; blank lines are skipped. False when a line
// has no name before a colon.
bool HeaderBlockLines(const Text& block, std::vector<Text>& lines);

}  // namespace tessaly
