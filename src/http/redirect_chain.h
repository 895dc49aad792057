#pragma once

#include <functional>
#include <string>

#include "http/curl_transfer.h"
#include "http/request_url.h"

// Redirects are followed here rather than by libcurl, so that each request of the
// chain is configured anew: what the caller gave for the first address (its cookie
// line, credentials) goes only where it belongs, and the transfer state always
// describes the latest response alone.
namespace tessaly {

inline constexpr int kMaxRedirects = 10;

struct Hop {
  int number = 0;  // 0 for the first request, then one more for each redirect
  std::string url;
  UrlOrigin origin;
  int method = 0;           // method number; a redirect may turn it into 0 (GET)
  bool sendBody = true;     // false once a redirect dropped the request body
  bool firstOrigin = true;  // same scheme, host and port as the first request
  // The caller's cookie line and credentials go along: the first origin, or https
  // to the first host or another host of its registrable domain.
  bool callersCredentials = true;
};

enum class ChainEnd {
  kResponse,        // a response arrived (the state holds it), perhaps cut short
  kTransferFailed,  // libcurl's result is in `code`
  kTooManyRedirects,
  kNotConfigured,  // the configure callback refused
};

struct ChainOutcome {
  ChainEnd end = ChainEnd::kResponse;
  CURLcode code = CURLE_OK;
};

// Performs `first` and, when `follow` is true, every redirect (301, 302, 303, 307 or
// 308 with a Location to http or https) after it. A Location elsewhere leaves the
// redirect response as the final one. 303 turns any method but HEAD into a GET
// without body, 301 and 302 do so for POST, 307 and 308 keep method and body.
// `configure` sets the per-request options before each transfer.
ChainOutcome PerformChain(CURL* easy, TransferState& state, const Hop& first, bool follow,
                          const std::function<bool(const Hop&)>& configure);

}  // namespace tessaly
