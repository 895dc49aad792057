#pragma once

// The few socket calls of the tests' own listeners, on POSIX sockets or on
// Winsock, which names some of them differently and must be started first.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <type_traits>

#include "support/native_socket.h"

namespace tessaly::testing {

#ifdef _WIN32
static_assert(std::is_same_v<NativeSocket, SOCKET>);
inline constexpr int kSendFlags = 0;
inline constexpr int kShutdownBoth = SD_BOTH;
inline int PollSockets(pollfd* sockets, unsigned long count, int timeout_ms) {
  return ::WSAPoll(sockets, count, timeout_ms);
}
inline void CloseSocket(NativeSocket socket) { ::closesocket(socket); }
// Winsock counts its starts; one for the process is enough.
inline bool StartSockets() {
  static const bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}
#else
// A peer that has gone must give an error, not a SIGPIPE that ends the tests.
inline constexpr int kSendFlags = MSG_NOSIGNAL;
inline constexpr int kShutdownBoth = SHUT_RDWR;
inline int PollSockets(pollfd* sockets, nfds_t count, int timeout_ms) {
  return ::poll(sockets, count, timeout_ms);
}
inline void CloseSocket(NativeSocket socket) { ::close(socket); }
inline bool StartSockets() { return true; }
#endif

}  // namespace tessaly::testing
