#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

// Owners of libcurl's C handles, and the one connection cache of the process.
namespace tessaly {

struct CurlEasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

// A fresh easy handle attached to the process-wide share, so that every request of
// the process reuses open connections, TLS sessions and resolved names while no
// other state (cookies, options) passes from one request to the next. Null when
// libcurl cannot create one.
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
