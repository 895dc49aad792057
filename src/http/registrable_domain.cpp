#include "http/registrable_domain.h"

#include <cstring>
#include <memory>

#include <libpsl.h>

namespace tessaly {
namespace {

struct SuffixListFree {
  void operator()(psl_ctx_t* list) const { psl_free(list); }
};

// The newest list at hand, loaded once: the system's copy (Debian's publicsuffix
// package) when it is newer than the one built into libpsl, else the built-in one.
// Null when there is neither.
const psl_ctx_t* SuffixList() {
  static const std::unique_ptr<psl_ctx_t, SuffixListFree> list(psl_latest(nullptr));
  return list.get();
}

// The list knows nothing of addresses: it would read 10.0.0.1 and 127.0.0.1 as
// names under one domain "0.1".
bool IsAddressLiteral(const std::string& host) {
  return host.find_first_not_of("0123456789.") == std::string::npos ||
         host.find_first_of(":[") != std::string::npos;
}

}  // namespace

bool SameRegistrableDomain(const std::string& firstHost, const std::string& host) {
  if (host == firstHost) return true;
  if (firstHost.empty() || host.empty() || IsAddressLiteral(firstHost) || IsAddressLiteral(host))
    return false;
  const psl_ctx_t* list = SuffixList();
  if (list == nullptr) return false;
  const char* firstDomain = psl_registrable_domain(list, firstHost.c_str());
  const char* domain = psl_registrable_domain(list, host.c_str());
  return firstDomain != nullptr && domain != nullptr && std::strcmp(firstDomain, domain) == 0;
}

}  // namespace tessaly
