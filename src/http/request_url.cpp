#include "http/request_url.h"

#include <cctype>
#include <cstdlib>

#include "http/curl_handles.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

std::string UrlPart(CURLU* url, CURLUPart part, unsigned flags = 0) {
  char* value = nullptr;
  if (curl_url_get(url, part, &value, flags) != CURLUE_OK || value == nullptr) return {};
  std::string text = value;
  curl_free(value);
  return text;
}

}  // namespace

std::string UrlForCurl(const Text& url) {
  const std::string utf8 = GbkToUtf8(url);
  const auto scheme = utf8.find("://");
  if (scheme == std::string::npos) return utf8;
  const auto authorityEnd = utf8.find_first_of("/?#", scheme + 3);
  if (authorityEnd == std::string::npos) return utf8;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded = utf8.substr(0, authorityEnd);
  for (std::size_t i = authorityEnd; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte <= 0x20 || byte >= 0x7F) {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    } else {
      encoded += static_cast<char>(byte);
    }
  }
  return encoded;
}

std::optional<UrlOrigin> HttpOrigin(const std::string& curlUrl) {
  if (curlUrl.empty()) return std::nullopt;
  CurlUrl url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, curlUrl.c_str(), 0) != CURLUE_OK) {
    return std::nullopt;
  }
  UrlOrigin origin;
  origin.scheme = UrlPart(url.get(), CURLUPART_SCHEME);
  if (origin.scheme != "http" && origin.scheme != "https") return std::nullopt;
  origin.host = UrlPart(url.get(), CURLUPART_HOST);
  if (origin.host.empty()) return std::nullopt;
  for (char& c : origin.host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  origin.port = std::strtol(port.c_str(), nullptr, 10);
  return origin;
}

}  // namespace tessaly
