#include "http/curl_handles.h"

#include <array>
#include <mutex>

namespace tessaly {
namespace {

// The share lives as long as the process. Its lock functions make it usable from
// any thread: the collection run's worker, tests, benchmarks.
class ProcessShare {
 public:
  ProcessShare() : share_(curl_share_init()) {
    if (share_ == nullptr) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &ProcessShare::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &ProcessShare::Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  }
  ~ProcessShare() {
    if (share_ != nullptr) curl_share_cleanup(share_);
  }
  ProcessShare(const ProcessShare&) = delete;
  ProcessShare& operator=(const ProcessShare&) = delete;

  CURLSH* Get() const { return share_; }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<ProcessShare*>(self)->MutexFor(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<ProcessShare*>(self)->MutexFor(data).unlock();
  }
  std::mutex& MutexFor(curl_lock_data data) {
    const auto index = static_cast<std::size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

CURLSH* Share() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) return nullptr;
  static ProcessShare share;
  return share.Get();
}

}  // namespace

CurlEasy NewCurlEasy() {
  CURLSH* share = Share();
  CurlEasy easy(curl_easy_init());
  if (easy && share != nullptr) curl_easy_setopt(easy.get(), CURLOPT_SHARE, share);
  return easy;
}

}  // namespace tessaly
