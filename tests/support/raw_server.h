#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "support/native_socket.h"

// A plain TCP listener on 127.0.0.1 for servers that misbehave on purpose: each
// accepted connection runs a scripted callback that reads the request bytes and
// writes whatever it likes (half a body, a wrong length, nothing at all), sleeping
// and closing when it chooses.
namespace tessaly::testing {

class RawConnection {
 public:
  RawConnection(NativeSocket socket, const std::atomic<bool>& stopping,
                std::function<void(const std::string&)> record)
      : socket_(socket), stopping_(stopping), record_(std::move(record)) {}
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  // One request: the bytes up to the empty line after the headers, plus as many
  // body bytes as a Content-Length header announces. Empty when the peer closed or
  // nothing arrived within five seconds, or the server is stopping.
  std::string ReadRequest();
  // False when the peer has gone.
  bool Write(std::string_view bytes);
  // Returns early when the server is stopping.
  void Sleep(std::chrono::milliseconds duration);
  void Close();

 private:
  NativeSocket socket_;
  const std::atomic<bool>& stopping_;
  std::function<void(const std::string&)> record_;
  std::string pending_;  // bytes read past the end of the previous request
};

class RawServer {
 public:
  using Script = std::function<void(RawConnection&)>;

  explicit RawServer(Script script);
  // Stops listening and waits for the scripts still running; their reads and
  // sleeps end early.
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by the path.
  std::string Url(const std::string& path = "/p") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int Connections() const { return connections_; }
  // Every request read by ReadRequest, in arrival order.
  std::vector<std::string> Requests() const;

 private:
  void AcceptLoop();
  void Record(const std::string& request);

  Script script_;
  NativeSocket listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

}  // namespace tessaly::testing
