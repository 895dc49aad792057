#include "http/redirect_chain.h"

#include "http/registrable_domain.h"

namespace tessaly {
namespace {

constexpr int kGet = 0;
constexpr int kPost = 1;
constexpr int kHead = 2;

bool IsFollowedStatus(long code) {
  return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

void AdjustMethod(Hop& hop, long code) {
  const bool toGet =
      (code == 303 && hop.method != kHead) || ((code == 301 || code == 302) && hop.method == kPost);
  if (!toGet) return;
  hop.method = kGet;
  hop.sendBody = false;
}

}  // namespace

ChainOutcome PerformChain(CURL* easy, TransferState& state, const Hop& first, bool follow,
                          const std::function<bool(const Hop&)>& configure) {
  Hop hop = first;
  for (int redirects = 0;; ++redirects) {
    ResetForNextPerform(state);
    if (!configure(hop)) return {ChainEnd::kNotConfigured, CURLE_OK};
    const CURLcode code = curl_easy_perform(easy);
    if (code != CURLE_OK) return {ChainEnd::kTransferFailed, code};

    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (!follow || !IsFollowedStatus(status)) return {ChainEnd::kResponse, CURLE_OK};
    char* location = nullptr;
    curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
    if (location == nullptr) return {ChainEnd::kResponse, CURLE_OK};
    const auto origin = HttpOrigin(location);
    if (!origin) return {ChainEnd::kResponse, CURLE_OK};
    if (redirects == kMaxRedirects) return {ChainEnd::kTooManyRedirects, CURLE_OK};

    hop.number = redirects + 1;
    hop.url = location;
    hop.origin = *origin;
    hop.firstOrigin = *origin == first.origin;
    hop.callersCredentials =
        hop.firstOrigin ||
        (origin->scheme == "https" && SameRegistrableDomain(first.origin.host, origin->host));
    AdjustMethod(hop, status);
  }
}

}  // namespace tessaly
