#include "http/curl_handles.h"

#include <array>
#include <mutex>

#include "http/connection_pool.h"

namespace tessaly {

// One share of connections, TLS sessions and resolved names. Its lock functions
// make it usable from any thread: the collection run's worker, tests, benchmarks.
// It is closed, with its connections, when the last handle using it is gone.
class CurlShareGeneration {
 public:
  CurlShareGeneration() : share_(curl_share_init()) {
    if (share_ == nullptr) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlShareGeneration::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlShareGeneration::Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  }
  ~CurlShareGeneration() {
    if (share_ != nullptr) curl_share_cleanup(share_);
  }
  CurlShareGeneration(const CurlShareGeneration&) = delete;
  CurlShareGeneration& operator=(const CurlShareGeneration&) = delete;

  CURLSH* Get() const { return share_; }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<CurlShareGeneration*>(self)->MutexFor(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<CurlShareGeneration*>(self)->MutexFor(data).unlock();
  }
  std::mutex& MutexFor(curl_lock_data data) {
    const auto index = static_cast<std::size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

namespace {

std::mutex generationMutex;
std::shared_ptr<CurlShareGeneration> generation;

std::shared_ptr<CurlShareGeneration> CurrentGeneration() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) return nullptr;
  std::lock_guard lock(generationMutex);
  if (!generation) generation = std::make_shared<CurlShareGeneration>();
  return generation;
}

}  // namespace

CurlEasy NewCurlEasy() {
  std::shared_ptr<CurlShareGeneration> share = CurrentGeneration();
  CURL* easy = curl_easy_init();
  if (easy == nullptr) return {};
  if (share && share->Get() != nullptr) curl_easy_setopt(easy, CURLOPT_SHARE, share->Get());
  return CurlEasy(easy, std::move(share));
}

void ReleaseIdleConnections() {
  std::shared_ptr<CurlShareGeneration> previous;
  {
    std::lock_guard lock(generationMutex);
    previous = std::move(generation);
  }
}

}  // namespace tessaly
