#include "support/fixture_server.h"

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "http/connection_pool.h"

namespace tessaly::testing {
namespace {

// "host:port", "[::1]:port" or "host" → the host alone.
std::string HostWithoutPort(const std::string& hostHeader) {
  const auto colon = hostHeader.rfind(':');
  const auto bracket = hostHeader.rfind(']');
  if (colon == std::string::npos) return hostHeader;
  if (bracket != std::string::npos && bracket > colon) return hostHeader;
  return hostHeader.substr(0, colon);
}

void WaitUntilRunning(const httplib::Server& server) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!server.is_running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

FixtureServer::FixtureServer()
    : http_(std::make_unique<httplib::Server>()),
      https_(std::make_unique<httplib::SSLServer>(
          (TestCaFile()).c_str(),
          (std::string(TESSALY_TEST_CERT_DIR) + "/server-key.pem").c_str())) {
  if (!https_->is_valid()) throw std::runtime_error("fixture certificate not loadable");
  Configure(*http_, "http");
  Configure(*https_, "https");
  httpPort_ = http_->bind_to_any_port("127.0.0.1");
  httpsPort_ = https_->bind_to_any_port("127.0.0.1");
  if (httpPort_ <= 0 || httpsPort_ <= 0) throw std::runtime_error("fixture ports not bound");
  httpThread_ = std::thread([this] { http_->listen_after_bind(); });
  httpsThread_ = std::thread([this] { https_->listen_after_bind(); });
  WaitUntilRunning(*http_);
  WaitUntilRunning(*https_);
}

FixtureServer::~FixtureServer() {
  // The client keeps connections open for reuse; a listener waits for those to go
  // idle out before it stops, unless the client lets them go first.
  ReleaseIdleConnections();
  http_->stop();
  https_->stop();
  if (httpThread_.joinable()) httpThread_.join();
  if (httpsThread_.joinable()) httpsThread_.join();
}

void FixtureServer::Configure(httplib::Server& server, const std::string& scheme) {
  // Clients here keep their connections for many requests; the library's default
  // of five per connection would hide the client's own reuse behaviour.
  server.set_keep_alive_max_count(100000);
  server.set_keep_alive_timeout(2);
  // Headers and body leave in separate writes; without this each response waits
  // for the peer's delayed acknowledgement (about 40 ms), which would dominate runs.
  server.set_tcp_nodelay(true);
  const auto serve = [this, scheme](const httplib::Request& request, httplib::Response& response) {
    Serve(scheme, request, response);
  };
  server.Get(".*", serve);
  server.Post(".*", serve);
  server.Put(".*", serve);
  server.Patch(".*", serve);
  server.Delete(".*", serve);
  server.Options(".*", serve);
  // The library routes no other methods; these two arrive without a body.
  server.set_pre_routing_handler(
      [this, scheme](const httplib::Request& request, httplib::Response& response) {
        if (request.method != "TRACE" && request.method != "CONNECT") {
          return httplib::Server::HandlerResponse::Unhandled;
        }
        Serve(scheme, request, response);
        return httplib::Server::HandlerResponse::Handled;
      });
}

void FixtureServer::Serve(const std::string& scheme, const httplib::Request& request,
                          httplib::Response& response) {
  RecordedRequest recorded{scheme,          HostWithoutPort(request.get_header_value("Host")),
                           request.method,  request.target,
                           request.headers, request.body};
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    const auto found = handlers_.find({recorded.host, request.path});
    if (found != handlers_.end()) handler = found->second;
    requests_.push_back(std::move(recorded));
  }
  if (!handler) {
    response.status = 404;
    response.set_content("not found", "text/plain");
    return;
  }
  handler(request, response);
}

void FixtureServer::Handle(const std::string& host, const std::string& path, Handler handler) {
  std::lock_guard lock(mutex_);
  handlers_[{host, path}] = std::move(handler);
}

void FixtureServer::Redirect(const std::string& host, const std::string& path, int status,
                             const std::string& location) {
  Handle(host, path, [status, location](const httplib::Request&, httplib::Response& response) {
    response.status = status;
    response.set_header("Location", location);
  });
}

std::vector<RecordedRequest> FixtureServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FixtureServer::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

std::string FixtureServer::ConnectToValue() const {
  return ":80:127.0.0.1:" + std::to_string(httpPort_) +
         ",:443:127.0.0.1:" + std::to_string(httpsPort_);
}

#ifdef _WIN32
// The C runtime reads an empty value as "remove"; the core takes an empty seam
// as no seam, so nothing is lost.
void SetEnvironment(const char* name, const std::string& value) {
  ::_putenv_s(name, value.c_str());
}
void UnsetEnvironment(const char* name) { ::_putenv_s(name, ""); }
#else
void SetEnvironment(const char* name, const std::string& value) {
  ::setenv(name, value.c_str(), 1);
}
void UnsetEnvironment(const char* name) { ::unsetenv(name); }
#endif

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
  if (const char* previous = std::getenv(name)) saved_ = previous;
  if (value) {
    SetEnvironment(name, *value);
  } else {
    UnsetEnvironment(name);
  }
}

ScopedEnv::~ScopedEnv() {
  if (saved_) {
    SetEnvironment(name_, *saved_);
  } else {
    UnsetEnvironment(name_);
  }
}

ScopedSeams::ScopedSeams(const FixtureServer& server)
    : connectTo_("TESSALY_CONNECT_TO", server.ConnectToValue()),
      caFile_("TESSALY_CA_FILE", TestCaFile()) {}

std::string TestCaFile() { return std::string(TESSALY_TEST_CERT_DIR) + "/server.pem"; }

}  // namespace tessaly::testing
