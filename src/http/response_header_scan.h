#pragma once

#include "text/text.h"

namespace tessaly {

// Reads the cookies and the redirect address out of a response header block.
// Every "Set-Cookie" (any case) in `headers` is rewritten with exactly these
// capitals. The name=value of each Set-Cookie line, followed by "; ", is appended to
// `returnedCookies`, which then loses that trailing "; ". `redirectLocation` takes
// the value of the last line starting with "Location: " (any case); it is left alone
// when there is none. With `cookies` given and `mergeCookies` true, the returned
// cookies are merged into `cookies` and `returnedCookies` becomes the merged text.
void ScanResponseHeaders(Text& headers, Text& returnedCookies, Text* redirectLocation,
                         Text* cookies, bool mergeCookies);

}  // namespace tessaly
