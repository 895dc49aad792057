#pragma once

#include <memory>
#include <string>
#include <utility>

#include <curl/curl.h>

// Owners of libcurl's C handles, and the connection cache of the process.
namespace tessaly {

// One option on a handle; false when libcurl refuses it.
template <typename Value>
bool SetOption(CURL* easy, CURLoption option, Value value) {
  return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

class CurlShareGeneration;

// An easy handle attached to the process-wide share, so that every request of the
// process reuses open connections, TLS sessions and resolved names while no other
// state (cookies, options) passes from one request to the next.
class CurlEasy {
 public:
  CurlEasy() = default;
  CurlEasy(CURL* easy, std::shared_ptr<CurlShareGeneration> share)
      : share_(std::move(share)), easy_(easy) {}
  ~CurlEasy() {
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
  }
  CurlEasy(CurlEasy&& other) noexcept
      : share_(std::move(other.share_)), easy_(std::exchange(other.easy_, nullptr)) {}
  CurlEasy& operator=(CurlEasy&&) = delete;
  CurlEasy(const CurlEasy&) = delete;
  CurlEasy& operator=(const CurlEasy&) = delete;

  CURL* get() const { return easy_; }
  explicit operator bool() const { return easy_ != nullptr; }

 private:
  std::shared_ptr<CurlShareGeneration> share_;  // outlives the handle that uses it
  CURL* easy_ = nullptr;
};

// A fresh easy handle; empty when libcurl cannot create one.
CurlEasy NewCurlEasy();

// A curl_slist that frees itself.
class CurlList {
 public:
  CurlList() = default;
  ~CurlList() { curl_slist_free_all(list_); }
  CurlList(const CurlList&) = delete;
  CurlList& operator=(const CurlList&) = delete;

  bool Append(const std::string& item) {
    curl_slist* grown = curl_slist_append(list_, item.c_str());
    if (grown == nullptr) return false;
    list_ = grown;
    return true;
  }
  bool Empty() const { return list_ == nullptr; }
  curl_slist* Get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

// A parsed URL (libcurl's URL API) that frees itself.
struct CurlUrlCleanup {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlCleanup>;

}  // namespace tessaly
