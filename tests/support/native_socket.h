#pragma once

#include <cstdint>

namespace tessaly::testing {

// A socket as the system hands it out: a descriptor on POSIX, Winsock's SOCKET
// (an unsigned integer as wide as a pointer) on Windows. Headers keep to this
// name, so that only support/sockets.h brings in the system's socket headers.
#ifdef _WIN32
using NativeSocket = std::uintptr_t;
inline constexpr NativeSocket kNoSocket = ~NativeSocket{0};
#else
using NativeSocket = int;
inline constexpr NativeSocket kNoSocket = -1;
#endif

}  // namespace tessaly::testing
