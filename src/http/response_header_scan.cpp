#include "http/response_header_scan.h"

#include "http/cookie_merge.h"
#include "text/desktop.h"
#include "text/text_between.h"
#include "text/text_primitives.h"

namespace tessaly {

void ScanResponseHeaders(Text& headers, Text& returnedCookies, Text* redirectLocation,
                         Text* cookies, bool mergeCookies) {
  headers = ReplaceText(headers, "Set-Cookie", "Set-Cookie");
  bool appended = false;
  for (const Text& line : SplitText(headers, "\r\n")) {
    if (FindText(line, "Set-Cookie") != -1) {
      const Text item = FindText(line, ";") != -1 ? TextBetween(line, "Set-Cookie:", ";")
                                                  : ReplaceText(line, "Set-Cookie:", "");
      returnedCookies += TrimSpaces(item) + "; ";
      appended = true;
    }
    if (redirectLocation != nullptr && CompareText(TextLeft(line, 10), "Location: ", false) == 0) {
      *redirectLocation = TextMid(line, 11, TextLength(line));
    }
    ProcessEvents();
  }
  // Only the "; " appended here goes: what the variable held before stays whole.
  if (appended) returnedCookies = TextLeft(returnedCookies, TextLength(returnedCookies) - 2);
  if (mergeCookies && cookies != nullptr) returnedCookies = MergeCookies(*cookies, returnedCookies);
}

}  // namespace tessaly
