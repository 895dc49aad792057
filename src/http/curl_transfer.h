#pragma once

#include <chrono>
#include <string>

#include "http/curl_handles.h"
#include "text/text.h"

// The receiving side of one libcurl transfer, shared by HttpRequest and
// DownloadBytes: the raw header block of the latest response, its body up to the
// cap, and an idle timer that ends a transfer when no byte moves for too long.
namespace tessaly {

struct TransferState {
  explicit TransferState(std::chrono::milliseconds idleLimit);

  std::chrono::milliseconds idleLimit;
  std::size_t bodyCap;

  // The header lines of the latest response, status line first, each ending in
  // "\r\n"; a new status line (a redirect, an interim 100) starts the block anew.
  std::string headerBlock;
  bool headersEnded = false;  // the empty line after the headers arrived
  bool finalHeaders = false;  // ... and the status was not an interim 1xx
  Bytes body;                 // the body of the response whose headers are in the block

  bool connected = false;  // connection (and TLS) stood; the request was on its way
  std::chrono::steady_clock::time_point lastActivity;
  curl_off_t seenDown = 0;
  curl_off_t seenUp = 0;
};

// Installs the header, body, progress and pre-request callbacks on `easy`.
bool InstallTransferCallbacks(CURL* easy, TransferState& state);

// Clears what belongs to one perform, before the next one (a followed redirect).
void ResetForNextPerform(TransferState& state);

}  // namespace tessaly
