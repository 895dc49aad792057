#pragma once

#include <string>

namespace tessaly {

// Whether two host names (lower case, as UrlOrigin holds them) belong to one site:
// the same name, or names under the same registrable domain by the Public Suffix
// List (detail.1688.com and login.1688.com share 1688.com; a.com.cn and b.com.cn
// share nothing, com.cn being a public suffix). An address literal, a public suffix
// itself, or a machine without any copy of the list matches only its own name.
bool SameRegistrableDomain(const std::string& firstHost, const std::string& host);

}  // namespace tessaly
