#include "http/download_bytes.h"

#include "http/connection_seams.h"
#include "http/curl_handles.h"
#include "http/curl_transfer.h"
#include "http/redirect_chain.h"
#include "http/request_url.h"
#include "http/transfer_limits.h"

namespace tessaly {
namespace {

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

bool Configure(CURL* easy, const ConnectionSeams& seams, CurlList& connectTo, CurlList& headers) {
  // HTTP/1.0 as the plain download always asked; the keep-alive line lets the
  // process-wide connection cache reuse the connection all the same. Nothing is
  // ever conditional, so no cache can answer instead of the server.
  return headers.Append("Accept: */*") && headers.Append("Pragma: no-cache") &&
         headers.Append("Connection: Keep-Alive") &&
         SetOption(easy, CURLOPT_HTTPHEADER, headers.Get()) &&
         SetOption(easy, CURLOPT_USERAGENT, kAgent) &&
         SetOption(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0)) &&
         SetOption(easy, CURLOPT_PROTOCOLS_STR, "http,https") &&
         SetOption(easy, CURLOPT_NOSIGNAL, 1L) && SetOption(easy, CURLOPT_PROXY, "") &&
         SetOption(easy, CURLOPT_NOPROXY, "*") && SetOption(easy, CURLOPT_SSL_VERIFYPEER, 1L) &&
         SetOption(easy, CURLOPT_SSL_VERIFYHOST, 2L) &&
         SetOption(easy, CURLOPT_CONNECTTIMEOUT_MS, kDefaultTimeoutMs) &&
         SetOption(easy, CURLOPT_FOLLOWLOCATION, 0L) &&
         ApplyConnectionSeams(easy, seams, connectTo);
}

}  // namespace

Bytes DownloadBytes(const Text& address, int* httpStatus, bool* complete) {
  if (httpStatus != nullptr) *httpStatus = 0;
  if (complete != nullptr) *complete = false;
  Hop first;
  first.url = UrlForCurl(address.substr(0, address.find('#')));
  const auto origin = HttpOrigin(first.url);
  if (!origin) return {};
  first.origin = *origin;

  CurlEasy easy = NewCurlEasy();
  if (!easy) return {};
  const ConnectionSeams seams = ReadConnectionSeams();
  CurlList connectTo;
  CurlList headers;
  TransferState state{std::chrono::milliseconds(DownloadIdleMs())};
  if (!Configure(easy.get(), seams, connectTo, headers) ||
      !InstallTransferCallbacks(easy.get(), state)) {
    return {};
  }
  CURL* handle = easy.get();
  const ChainOutcome outcome = PerformChain(handle, state, first, true, [handle](const Hop& hop) {
    return SetOption(handle, CURLOPT_URL, hop.url.c_str()) &&
           SetOption(handle, CURLOPT_HTTPGET, 1L);
  });

  if (!state.finalHeaders) return {};
  if (outcome.end != ChainEnd::kResponse && outcome.end != ChainEnd::kTransferFailed) return {};
  if (httpStatus != nullptr) {
    long code = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    *httpStatus = static_cast<int>(code);
  }
  if (complete != nullptr) *complete = outcome.end == ChainEnd::kResponse;
  return std::move(state.body);
}

}  // namespace tessaly
