#pragma once

#include <vector>

#include "text/text.h"

namespace tessaly {

// The request header block: the caller's lines first, unchanged, then each default
// line whose header the block does not mention yet (the test looks anywhere in the
// block, not only at line starts), the cookie line last, with CookieLineValue of
// `cookies`. `cookies` == nullptr means the caller supplied none.
Text ComposeHeaderBlock(const Text& extraHeaders, int method, const Text* cookies);

// A cookie value as it goes into the Cookie line. A value pasted over several lines
// holds one or more items per line, so each run of line breaks (CR, LF), together
// with the blanks and semicolons next to it, reads as one item separator "; "; at
// the start or the end of the value it is dropped, as are blanks there. A value
// without line breaks keeps its bytes, bar blanks at its ends.
Text CookieLineValue(const Text& cookies);

// The name of a header line: the text before its first colon, without blanks
// around it. Empty for a line without a colon.
Text HeaderName(const Text& line);

// The block's lines as they go on the wire. Lines end at CR LF; blank lines are
// skipped. Each line takes the place of an earlier line of the same name (names
// compare without regard to case): the header keeps the position where it first
// appeared and carries the later line. False when a line has no name before a
// colon, holds a CR or LF of its own, or starts with a blank: each of these would
// put a header on the wire that the block does not have as a line.
bool HeaderBlockLines(const Text& block, std::vector<Text>& lines);

}  // namespace tessaly
