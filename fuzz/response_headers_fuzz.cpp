// What a server controls in the header handling: the response header block (the
// cookies it sets, the redirect address) and, through the merge, the cookie text
// the caller carries on. Also the request side, since a merged cookie value goes
// back into the next request's header block.
//
// Input: [flags] [method] cookies \0 returnedCookies \0 extraHeaders \0 headers…
//   flags bit 0: cookies supplied; bit 1: merge.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "http/cookie_merge.h"
#include "http/request_headers.h"
#include "http/response_header_scan.h"
#include "text/text_primitives.h"

using tessaly::Text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tessaly::fuzz::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  const int method = input.SmallNumber();
  Text cookies = input.Field();
  Text returned = input.Field();
  const Text extraHeaders = input.Field();
  Text headers = input.Rest();
  const bool supplied = (flags & 1) != 0;
  const bool merge = (flags & 2) != 0;

  const Text received = headers;
  Text location = "untouched";
  tessaly::ScanResponseHeaders(headers, returned, &location, supplied ? &cookies : nullptr, merge);
  // Only the capitals of "Set-Cookie" change.
  FUZZ_CHECK(headers.size() == received.size());
  FUZZ_CHECK(location == "untouched" || headers.find(location) != Text::npos);
  if (supplied && merge) FUZZ_CHECK(returned == cookies);

  Text oldCookies = cookies;
  Text newCookies = returned;
  const Text merged = tessaly::MergeCookies(oldCookies, newCookies);
  FUZZ_CHECK(merged == oldCookies);
  static_cast<void>(tessaly::JoinDistinct(merged, "; "));
  static_cast<void>(
      tessaly::FindItem(tessaly::SplitText(merged, ";"), tessaly::CookieName(merged)));

  const Text block =
      tessaly::ComposeHeaderBlock(extraHeaders, method, supplied ? &merged : nullptr);
  FUZZ_CHECK(block.compare(0, extraHeaders.size(), extraHeaders) == 0);
  std::vector<Text> lines;
  if (tessaly::HeaderBlockLines(block, lines)) {
    for (const Text& line : lines) FUZZ_CHECK(!tessaly::HeaderName(line).empty());
  }
  return 0;
}
