#pragma once

#include <string>

#include "text/text.h"

namespace tessaly::testing {

// The bytes as a string, zero bytes included, for comparisons in tests.
inline std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace tessaly::testing
