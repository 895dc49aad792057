#pragma once

#include "text/text.h"

namespace tessaly {

// One blocking HTTP or HTTPS request; the body comes back as GBK text (decoded
// from a declared character set), the empty text on every failure with a numbered
// message in *status. Out-values are pointers: nullptr discards them, and each is
// written only by the step that produces it, never cleared on entry.
// `cookies` == nullptr means "not supplied": no cookie engine at all. Supplied
// (even empty), cookies the server sets reach the redirects of this call only, and
// the merged value is written back into *cookies.
// *complete, beyond the routine's own parameters, is set with the result: true when
// the whole body arrived, false when a read failed part-way (the result is then
// the part that arrived), so a caller can keep something better it already has.
Text HttpRequest(const Text& url, int method = 0, const Text& body = {}, Text* cookies = nullptr,
                 Text* returnedCookies = nullptr, const Text& extraHeaders = {},
                 Text* responseHeaders = nullptr, bool noRedirect = false,
                 const Text& serverUser = {}, const Text& serverPassword = {},
                 const Text& proxy = {}, const Text& proxyUser = {}, const Text& proxyPassword = {},
                 int timeoutSeconds = 0, Text* redirectLocation = nullptr, Text* status = nullptr,
                 Bytes* responseBytes = nullptr, bool mergeCookies = true,
                 bool* complete = nullptr);

}  // namespace tessaly
