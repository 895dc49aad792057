#include "support/raw_server.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "support/sockets.h"

namespace tessaly::testing {
namespace {

constexpr int kReadWaitMs = 5000;
constexpr int kSliceMs = 10;

// Content-Length of a header block, 0 when absent.
std::size_t ContentLength(const std::string& head) {
  std::string lower;
  lower.reserve(head.size());
  for (char c : head)
    lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  const auto at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return static_cast<std::size_t>(std::strtoull(head.c_str() + at + 17, nullptr, 10));
}

bool WaitReadable(NativeSocket socket, const std::atomic<bool>& stopping) {
  for (int waited = 0; waited < kReadWaitMs && !stopping; waited += kSliceMs) {
    pollfd waiting{socket, POLLIN, 0};
    if (PollSockets(&waiting, 1, kSliceMs) > 0) return true;
  }
  return false;
}

}  // namespace

RawConnection::~RawConnection() { Close(); }

std::string RawConnection::ReadRequest() {
  std::string data = std::move(pending_);
  pending_.clear();
  std::size_t needed = std::string::npos;
  char buffer[16384];
  while (socket_ != kNoSocket) {
    if (needed == std::string::npos) {
      const auto end = data.find("\r\n\r\n");
      if (end != std::string::npos) needed = end + 4 + ContentLength(data.substr(0, end + 2));
    }
    if (needed != std::string::npos && data.size() >= needed) break;
    if (!WaitReadable(socket_, stopping_)) return {};
    const ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
    if (got <= 0) return {};
    data.append(buffer, static_cast<std::size_t>(got));
  }
  if (needed == std::string::npos) return {};
  pending_ = data.substr(needed);
  data.resize(needed);
  if (record_) record_(data);
  return data;
}

bool RawConnection::Write(std::string_view bytes) {
  while (!bytes.empty() && socket_ != kNoSocket) {
    const auto sent = ::send(socket_, bytes.data(), static_cast<int>(bytes.size()), kSendFlags);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return socket_ != kNoSocket;
}

void RawConnection::Sleep(std::chrono::milliseconds duration) {
  const auto until = std::chrono::steady_clock::now() + duration;
  while (!stopping_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
  }
}

void RawConnection::Close() {
  if (socket_ == kNoSocket) return;
  ::shutdown(socket_, kShutdownBoth);
  CloseSocket(socket_);
  socket_ = kNoSocket;
}

RawServer::RawServer(Script script) : script_(std::move(script)) {
  if (!StartSockets()) throw std::runtime_error("raw server: no sockets");
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ == kNoSocket) throw std::runtime_error("raw server: no socket");
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 64) != 0) {
    CloseSocket(listener_);
    throw std::runtime_error("raw server: cannot listen");
  }
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawServer::~RawServer() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (auto& worker : workers_) worker.join();
  CloseSocket(listener_);
}

void RawServer::AcceptLoop() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (PollSockets(&waiting, 1, 20) <= 0) continue;
    const NativeSocket socket = ::accept(listener_, nullptr, nullptr);
    if (socket == kNoSocket) continue;
    ++connections_;
    workers_.emplace_back([this, socket] {
      RawConnection connection(socket, stopping_,
                               [this](const std::string& request) { Record(request); });
      script_(connection);
    });
  }
}

void RawServer::Record(const std::string& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
}

std::vector<std::string> RawServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

}  // namespace tessaly::testing
