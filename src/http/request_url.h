#pragma once

#include <optional>
#include <string>

#include "text/text.h"

namespace tessaly {

// The address as libcurl takes it: UTF-8 (a non-ASCII host goes through IDN), and
// every byte outside printable ASCII, the blank included, percent-encoded after the
// host part, the way browsers send such paths.
std::string UrlForCurl(const Text& url);

// Scheme, host and port of an absolute http or https address; what a redirect must
// keep for the caller's cookie line and credentials to go along.
struct UrlOrigin {
  std::string scheme;  // "http" or "https"
  std::string host;    // lower case
  long port = 0;       // the scheme's default when the address names none
  bool operator==(const UrlOrigin&) const = default;
};

// Nothing for an address that cannot be split or has another scheme.
std::optional<UrlOrigin> HttpOrigin(const std::string& curlUrl);

}  // namespace tessaly
