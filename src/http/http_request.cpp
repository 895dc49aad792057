// HttpRequest over libcurl (OpenSSL). How the request routine's behaviour maps
// onto libcurl:
//
// - Handles: one easy handle per call, attached to the process-wide share of open
//   connections, TLS sessions and resolved names (curl_handles.h). Connections are
//   reused; nothing a caller can observe (cookies, options, credentials) outlives
//   the call.
// - Time-out: t = timeoutSeconds (below 1: 30 s). CURLOPT_CONNECTTIMEOUT bounds name
//   resolution, connecting and the TLS handshake together; after that every wait for
//   data is bounded by t: the transfer ends when no byte has moved for t (an idle
//   timer in the progress callback). There is no bound on the whole transfer, so a
//   slow but steady body is read to its end.
// - Redirects: followed by hand (redirect_chain.h), at most ten, unless noRedirect;
//   a Location to another scheme than http or https is not followed and that 3xx is
//   the final response. Headers, status, cookies and body are the final response's.
//   The caller's cookie line, any Authorization line of the caller and the server
//   credentials go to the first request's scheme, host and port, and over https to
//   the first host and the other hosts of its registrable domain (Public Suffix
//   List, registrable_domain.h): a marketplace sends its users to login and mobile
//   hosts of its own. Never to another domain, never over plain http elsewhere. A
//   Host line of the caller stays with the first origin alone.
// - Cookies: with `cookies` supplied, libcurl's in-memory cookie engine runs on this
//   call's handle, so cookies the server sets reach the redirects of this call
//   (under the usual domain, path and secure rules); on a redirect that the caller's
//   value goes to, it rides in the same Cookie line after them. Not supplied: no
//   cookie engine at all. The engine dies with the handle. A value pasted over
//   several lines is sent as one line, one item per pasted line (CookieLineValue).
// - TLS: the peer's certificate and host name are always verified (system CA bundle,
//   or TESSALY_CA_FILE). Revocation: on Linux OpenSSL's defaults, that is no CRL or
//   OCSP check; on Windows Schannel's check, except for an authority given through
//   TESSALY_CA_FILE, which has no revocation service to ask.
// - Protocol: HTTP/1.1 forced; no content decoding, the body comes as sent; proxies
//   only when `proxy` is given, never from the environment.
// - Header block: handed over line by line after merging lines of one name
//   (request_headers.h); libcurl's own Accept, Expect and Content-Type defaults are
//   suppressed unless the block has the header, so the block is what is sent besides
//   Host, Content-Length and the credentials' Authorization. A line that would not
//   reach the wire as one header line of its own (a lone CR or LF in it, a blank at
//   its start) refuses the whole block with 710 before anything is sent.
#include "http/http_request.h"

#include <memory>

#include "http/connection_seams.h"
#include "http/curl_handles.h"
#include "http/curl_transfer.h"
#include "http/http_failures.h"
#include "http/redirect_chain.h"
#include "http/request_headers.h"
#include "http/request_url.h"
#include "http/response_decoding.h"
#include "http/response_header_scan.h"
#include "http/transfer_limits.h"
#include "text/desktop.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

constexpr const char* kMethodNames[] = {"GET",     "POST",   "HEAD",  "PUT",
                                        "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kPost = 1;
constexpr int kHead = 2;
constexpr int kPut = 3;
constexpr int kDelete = 5;

int MethodNumber(int method) { return method >= 0 && method <= 7 ? method : 0; }

// Each stage the call enters lets pending window events through once on the way
// out, whether it succeeded or failed.
class StageEvents {
 public:
  StageEvents() = default;
  StageEvents(const StageEvents&) = delete;
  StageEvents& operator=(const StageEvents&) = delete;
  ~StageEvents() {
    for (int i = 0; i < entered_; ++i) ProcessEvents();
  }
  void Enter() { ++entered_; }

 private:
  int entered_ = 0;
};

bool IsOneOf(const Text& name, const char* a, const char* b = nullptr, const char* c = nullptr) {
  for (const char* candidate : {a, b, c}) {
    if (candidate != nullptr && CompareText(name, candidate, false) == 0) return true;
  }
  return false;
}

bool HasHeader(const std::vector<Text>& lines, const char* name) {
  for (const Text& line : lines) {
    if (IsOneOf(HeaderName(line), name)) return true;
  }
  return false;
}

// Everything of one call that the per-request configuration needs.
struct Call {
  CURL* easy;
  std::vector<Text> headerLines;
  bool cookieEngine;
  Bytes body;
  const Text& serverUser;
  const Text& serverPassword;
  std::unique_ptr<CurlList> hopHeaders;
  int failure = 0;
};

// POST, PUT and DELETE always carry a body, if need be an empty one with its
// "Content-Length: 0": servers that expect content otherwise wait for the
// connection to close. Other methods carry one only when it is not empty.
bool SetMethod(Call& call, const Hop& hop) {
  const bool head = hop.method == kHead;
  const bool carriesBody = hop.method == kPost || hop.method == kPut || hop.method == kDelete;
  const bool withBody = !head && hop.sendBody && (carriesBody || !call.body.empty());
  const std::string name = kMethodNames[hop.method];
  static const char kNoBytes[] = "";
  bool ok = SetOption(call.easy, CURLOPT_NOBODY, head ? 1L : 0L);
  if (withBody) {
    ok = ok &&
         SetOption(call.easy, CURLOPT_POSTFIELDSIZE_LARGE,
                   static_cast<curl_off_t>(call.body.size())) &&
         SetOption(call.easy, CURLOPT_POSTFIELDS,
                   call.body.empty() ? kNoBytes : reinterpret_cast<const char*>(call.body.data()));
  } else if (!head) {
    ok = ok && SetOption(call.easy, CURLOPT_HTTPGET, 1L);
  }
  const bool libcurlsOwn = head || name == (withBody ? "POST" : "GET");
  return ok && SetOption(call.easy, CURLOPT_CUSTOMREQUEST, libcurlsOwn ? nullptr : name.c_str());
}

// The header lines of one request of the chain. The caller's cookie line and any
// Authorization line go only where the caller's credentials go; a Host line only to
// the first origin. On a later request the cookie engine may hold cookies of its
// own; the caller's value then goes through CURLOPT_COOKIE, which libcurl joins
// into the engine's line.
bool SetHeaders(Call& call, const Hop& hop) {
  call.hopHeaders = std::make_unique<CurlList>();
  CurlList& list = *call.hopHeaders;
  Text cookieValue;
  bool ok = true;
  for (const Text& line : call.headerLines) {
    const Text name = HeaderName(line);
    if (!hop.firstOrigin && IsOneOf(name, "Host")) continue;
    if (!hop.callersCredentials && IsOneOf(name, "Cookie", "Authorization")) continue;
    if (hop.number > 0 && call.cookieEngine && IsOneOf(name, "Cookie")) {
      cookieValue = TrimSpaces(TextMid(line, FindText(line, ":") + 1, TextLength(line)));
      continue;
    }
    ok = ok && list.Append(line);
  }
  for (const char* ownDefault : {"Accept", "Expect", "Content-Type"}) {
    if (!HasHeader(call.headerLines, ownDefault))
      ok = ok && list.Append(ConcatText(ownDefault, ":"));
  }
  return ok && SetOption(call.easy, CURLOPT_HTTPHEADER, list.Get()) &&
         SetOption(call.easy, CURLOPT_COOKIE, cookieValue.empty() ? nullptr : cookieValue.c_str());
}

bool SetServerCredentials(Call& call, const Hop& hop) {
  if (hop.callersCredentials && !call.serverUser.empty() && !call.serverPassword.empty()) {
    return SetOption(call.easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC)) &&
           SetOption(call.easy, CURLOPT_USERNAME, call.serverUser.c_str()) &&
           SetOption(call.easy, CURLOPT_PASSWORD, call.serverPassword.c_str());
  }
  return SetOption(call.easy, CURLOPT_USERNAME, static_cast<const char*>(nullptr)) &&
         SetOption(call.easy, CURLOPT_PASSWORD, static_cast<const char*>(nullptr));
}

bool ConfigureHop(Call& call, const Hop& hop) {
  if (!SetOption(call.easy, CURLOPT_URL, hop.url.c_str())) {
    call.failure = 701;
    return false;
  }
  if (!SetMethod(call, hop)) {
    call.failure = 704;
    return false;
  }
  if (!SetServerCredentials(call, hop)) {
    call.failure = 707;
    return false;
  }
  if (!SetHeaders(call, hop)) {
    call.failure = 710;
    return false;
  }
  return true;
}

bool SetConnection(CURL* easy, const Text& proxy, const Text& proxyUser, const Text& proxyPassword,
                   const ConnectionSeams& seams, CurlList& connectTo) {
  bool ok = SetOption(easy, CURLOPT_PROTOCOLS_STR, "http,https") &&
            SetOption(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)) &&
            SetOption(easy, CURLOPT_NOSIGNAL, 1L) && SetOption(easy, CURLOPT_SSL_VERIFYPEER, 1L) &&
            SetOption(easy, CURLOPT_SSL_VERIFYHOST, 2L) &&
            ApplyConnectionSeams(easy, seams, connectTo);
  if (proxy.empty()) {
    // The empty name also keeps libcurl from taking a proxy from the environment.
    return ok && SetOption(easy, CURLOPT_PROXY, "") && SetOption(easy, CURLOPT_NOPROXY, "*");
  }
  ok = ok && SetOption(easy, CURLOPT_PROXY, proxy.c_str()) &&
       SetOption(easy, CURLOPT_NOPROXY, "") &&
       SetOption(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (!proxyUser.empty() && !proxyPassword.empty()) {
    ok = ok && SetOption(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC)) &&
         SetOption(easy, CURLOPT_PROXYUSERNAME, proxyUser.c_str()) &&
         SetOption(easy, CURLOPT_PROXYPASSWORD, proxyPassword.c_str());
  }
  return ok;
}

// Whether the last transfer handed its whole request body over: a server that
// stops reading it leaves the send unfinished, which is a failure to send, not a
// server that does not answer.
bool RequestSentWhole(CURL* easy) {
  curl_off_t sent = 0;
  curl_off_t size = -1;
  if (curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &sent) != CURLE_OK ||
      curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_UPLOAD_T, &size) != CURLE_OK)
    return true;
  return size <= 0 || sent >= size;
}

void Fail(Text* status, int number) {
  if (status != nullptr) *status = HttpFailureMessage(number);
}

}  // namespace

Text HttpRequest(const Text& url, int method, const Text& body, Text* cookies,
                 Text* returnedCookies, const Text& extraHeaders, Text* responseHeaders,
                 bool noRedirect, const Text& serverUser, const Text& serverPassword,
                 const Text& proxy, const Text& proxyUser, const Text& proxyPassword,
                 int timeoutSeconds, Text* redirectLocation, Text* status, Bytes* responseBytes,
                 bool mergeCookies, bool* complete) {
  StageEvents stages;
  stages.Enter();  // the platform check: libcurl is linked in, always there

  stages.Enter();
  Hop first;
  first.url = UrlForCurl(url);
  const auto origin = HttpOrigin(first.url);
  if (!origin) {
    Fail(status, 701);
    return {};
  }
  first.origin = *origin;
  first.method = MethodNumber(method);

  stages.Enter();
  CurlEasy easy = NewCurlEasy();
  if (!easy) {
    Fail(status, 702);
    return {};
  }
  const ConnectionSeams seams = ReadConnectionSeams();
  CurlList connectTo;
  if (!SetConnection(easy.get(), proxy, proxyUser, proxyPassword, seams, connectTo)) {
    Fail(status, 703);
    return {};
  }

  stages.Enter();
  const long timeoutMs =
      timeoutSeconds > 0 ? static_cast<long>(timeoutSeconds) * 1000L : kDefaultTimeoutMs;
  TransferState state{std::chrono::milliseconds(timeoutMs)};
  if (!SetOption(easy.get(), CURLOPT_CONNECTTIMEOUT_MS, timeoutMs) ||
      !InstallTransferCallbacks(easy.get(), state)) {
    Fail(status, 705);
    return {};
  }
  if (cookies != nullptr && !SetOption(easy.get(), CURLOPT_COOKIEFILE, "")) {
    Fail(status, 708);
    return {};
  }
  if (!SetOption(easy.get(), CURLOPT_FOLLOWLOCATION, 0L)) {
    Fail(status, 709);
    return {};
  }

  stages.Enter();
  Call call{easy.get(), {}, cookies != nullptr, ToBytes(body), serverUser, serverPassword, nullptr};
  if (!HeaderBlockLines(ComposeHeaderBlock(extraHeaders, first.method, cookies),
                        call.headerLines)) {
    Fail(status, 710);
    return {};
  }

  stages.Enter();
  const ChainOutcome outcome =
      PerformChain(easy.get(), state, first, !noRedirect,
                   [&call](const Hop& hop) { return ConfigureHop(call, hop); });
  int failure = 0;
  switch (outcome.end) {
    case ChainEnd::kNotConfigured:
      failure = call.failure;
      break;
    case ChainEnd::kTooManyRedirects:
      failure = 712;
      break;
    case ChainEnd::kTransferFailed:
      failure = TransferFailureNumber(outcome.code, state.connected, RequestSentWhole(easy.get()),
                                      state.finalHeaders);
      break;
    case ChainEnd::kResponse:
      failure = state.finalHeaders ? 0 : 712;
      break;
  }
  if (failure != 0 && failure != 713) {
    Fail(status, failure);
    if (failure == 712) stages.Enter();
    return {};
  }

  // A read that failed part-way (713) still has the final header block here, so its
  // message is replaced by the status text at once and only `complete` tells.
  stages.Enter();  // reading the body
  stages.Enter();  // the header block
  Text headers = state.headerBlock.substr(0, state.headerBlock.find('\0'));
  if (status != nullptr) *status = TextMid(headers, 10, FindText(headers, "\r\n", 10) - 10);

  Text returned = returnedCookies != nullptr ? *returnedCookies : Text();
  // The merge reads the caller's value as the Cookie line had it, one item per
  // pasted line, so that a name the server sets again is recognised on every line.
  if (cookies != nullptr && mergeCookies) *cookies = CookieLineValue(*cookies);
  ScanResponseHeaders(headers, returned, redirectLocation, cookies, mergeCookies);
  if (responseHeaders != nullptr) *responseHeaders = headers;
  if (returnedCookies != nullptr) *returnedCookies = returned;

  if (responseBytes != nullptr) *responseBytes = state.body;
  if (complete != nullptr) *complete = failure == 0;
  return DecodeResponseText(state.body);
}

}  // namespace tessaly
