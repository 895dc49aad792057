#include "http/curl_transfer.h"

#include <algorithm>
#include <atomic>
#include <string_view>

#include "http/transfer_limits.h"

namespace tessaly {
namespace {

std::atomic<std::size_t> bodyCapOverride{0};

bool IsInterimStatus(const std::string& headerBlock) {
  // "HTTP/1.1 100 Continue": the code follows the first blank.
  const auto blank = headerBlock.find(' ');
  return blank != std::string::npos && blank + 1 < headerBlock.size() &&
         headerBlock[blank + 1] == '1';
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto& state = *static_cast<TransferState*>(user);
  const std::size_t length = size * count;
  state.lastActivity = std::chrono::steady_clock::now();
  std::string_view line(data, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);

  const bool startsResponse =
      line.starts_with("HTTP/") && (state.headerBlock.empty() || state.headersEnded);
  if (startsResponse) {
    state.headerBlock.assign(line);
    state.headerBlock += "\r\n";
    state.headersEnded = false;
    state.finalHeaders = false;
    state.body.clear();
  } else if (state.headersEnded || state.headerBlock.empty()) {
    // Trailers after a chunked body, or stray bytes before any status line.
  } else if (line.empty()) {
    state.headerBlock += "\r\n";
    state.headersEnded = true;
    state.finalHeaders = !IsInterimStatus(state.headerBlock);
  } else {
    state.headerBlock.append(line);
    state.headerBlock += "\r\n";
  }
  return length;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& state = *static_cast<TransferState*>(user);
  const std::size_t length = size * count;
  state.lastActivity = std::chrono::steady_clock::now();
  const std::size_t room = state.bodyCap - std::min(state.bodyCap, state.body.size());
  const std::size_t taken = std::min(room, length);
  state.body.insert(state.body.end(), data, data + taken);
  // Past the cap libcurl ends the transfer with a write error.
  return taken < length ? 0 : length;
}

int OnProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
  auto& state = *static_cast<TransferState*>(user);
  const auto now = std::chrono::steady_clock::now();
  if (downloaded != state.seenDown || uploaded != state.seenUp) {
    state.seenDown = downloaded;
    state.seenUp = uploaded;
    state.lastActivity = now;
  }
  return state.connected && now - state.lastActivity > state.idleLimit ? 1 : 0;
}

int OnConnected(void* user, char*, char*, int, int) {
  auto& state = *static_cast<TransferState*>(user);
  state.connected = true;
  state.lastActivity = std::chrono::steady_clock::now();
  return CURL_PREREQFUNC_OK;
}

}  // namespace

std::size_t BodyCap() {
  const std::size_t cap = bodyCapOverride.load();
  return cap == 0 ? kDefaultBodyCap : cap;
}

void SetBodyCapForTesting(std::size_t bytes) { bodyCapOverride = bytes; }

namespace {
std::atomic<long> downloadIdleOverride{0};
}  // namespace

long DownloadIdleMs() {
  const long idle = downloadIdleOverride.load();
  return idle == 0 ? kDefaultDownloadIdleMs : idle;
}

void SetDownloadIdleForTesting(long milliseconds) { downloadIdleOverride = milliseconds; }

TransferState::TransferState(std::chrono::milliseconds idle)
    : idleLimit(idle), bodyCap(BodyCap()), lastActivity(std::chrono::steady_clock::now()) {}

bool InstallTransferCallbacks(CURL* easy, TransferState& state) {
  curl_write_callback header = &OnHeader;
  curl_write_callback body = &OnBody;
  curl_xferinfo_callback progress = &OnProgress;
  curl_prereq_callback connected = &OnConnected;
  return curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, header) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HEADERDATA, &state) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, body) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEDATA, &state) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, progress) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &state) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, connected) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_PREREQDATA, &state) == CURLE_OK;
}

void ResetForNextPerform(TransferState& state) {
  state.headerBlock.clear();
  state.headersEnded = false;
  state.finalHeaders = false;
  state.body.clear();
  state.connected = false;
  state.seenDown = 0;
  state.seenUp = 0;
  state.lastActivity = std::chrono::steady_clock::now();
}

}  // namespace tessaly
