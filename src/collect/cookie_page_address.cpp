#include "collect/cookie_page_address.h"

#include <mutex>

namespace tessaly {
namespace {

std::mutex& AddressLock() {
  static std::mutex lock;
  return lock;
}

Text& Address() {
  static Text address;
  return address;
}

}  // namespace

Text GetCookiePageAddress() {
  std::lock_guard guard(AddressLock());
  return Address();
}

void SetCookiePageAddress(const Text& address) {
  std::lock_guard guard(AddressLock());
  Address() = address;
}

Text CookiePageAddressOr(const Text& fallback) {
  std::lock_guard guard(AddressLock());
  if (Address().empty()) Address() = fallback;
  return Address();
}

}  // namespace tessaly
