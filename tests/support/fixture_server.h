#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <httplib.h>

// Loopback web servers for the tests. One plain-HTTP and one HTTPS listener answer
// for any host name: the client keeps the real addresses (https://detail.1688.com/…)
// and reaches these listeners through the connection seams (TESSALY_CONNECT_TO,
// TESSALY_CA_FILE), which ScopedSeams sets for the length of a test.
namespace tessaly::testing {

struct RecordedRequest {
  std::string scheme;  // "http" or "https"
  std::string host;    // the Host header without its port
  std::string method;
  std::string path;  // with the query
  httplib::Headers headers;
  std::string body;
};

class FixtureServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  // Starts both listeners on 127.0.0.1 with ephemeral ports; returns when both accept.
  FixtureServer();
  ~FixtureServer();
  FixtureServer(const FixtureServer&) = delete;
  FixtureServer& operator=(const FixtureServer&) = delete;

  int HttpPort() const { return httpPort_; }
  int HttpsPort() const { return httpsPort_; }

  // Exact host and path (without the query), any method, both schemes. A request
  // that matches no handler gets 404 "not found".
  void Handle(const std::string& host, const std::string& path, Handler handler);
  // Answers host and path with a redirect of this status to `location`.
  void Redirect(const std::string& host, const std::string& path, int status,
                const std::string& location);

  std::vector<RecordedRequest> Requests() const;
  void ClearRequests();

  // ":80:127.0.0.1:<http>,:443:127.0.0.1:<https>"
  std::string ConnectToValue() const;

 private:
  void Serve(const std::string& scheme, const httplib::Request& request,
             httplib::Response& response);
  void Configure(httplib::Server& server, const std::string& scheme);

  mutable std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, Handler> handlers_;
  std::vector<RecordedRequest> requests_;

  std::unique_ptr<httplib::Server> http_;
  std::unique_ptr<httplib::SSLServer> https_;
  int httpPort_ = 0;
  int httpsPort_ = 0;
  std::thread httpThread_;
  std::thread httpsThread_;
};

// setenv and unsetenv, which the Windows C runtime does not have.
void SetEnvironment(const char* name, const std::string& value);
void UnsetEnvironment(const char* name);

// Points the client's connection seams at `server` and trusts the test certificate;
// restores the previous environment on destruction.
// One environment variable set (or, with nullopt, removed) for the value's
// lifetime; its earlier state comes back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

class ScopedSeams {
 public:
  explicit ScopedSeams(const FixtureServer& server);

 private:
  ScopedEnv connectTo_;
  ScopedEnv caFile_;
};

// The PEM file of the fixture certificate, TESSALY_TEST_CERT_DIR "/server.pem".
std::string TestCaFile();

}  // namespace tessaly::testing
