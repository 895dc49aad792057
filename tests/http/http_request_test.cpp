#include "http/http_request.h"

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "http/transfer_limits.h"
#include "support/fixture_server.h"
#include "support/raw_server.h"
#include "support/wine.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

using namespace std::chrono_literals;
using testing::FixtureServer;
using testing::RawConnection;
using testing::RawServer;
using testing::RecordedRequest;
using testing::ScopedSeams;

constexpr char kPage[] = "https://detail.1688.com/offer/1.html";

std::string Header(const RecordedRequest& request, const std::string& name) {
  const auto found = request.headers.find(name);
  return found == request.headers.end() ? "<none>" : found->second;
}

std::size_t HeaderCount(const RecordedRequest& request, const std::string& name) {
  return request.headers.count(name);
}

void Reply(httplib::Response& response, const std::string& body) {
  response.set_content(body, "text/html");
}

class HttpRequestTest : public ::testing::Test {
 protected:
  FixtureServer server;
  ScopedSeams seams{server};
};

TEST_F(HttpRequestTest, SendsTheMethodOfItsNumber) {
  server.Handle("detail.1688.com", "/m", [](const auto&, auto& response) { Reply(response, "m"); });
  const std::pair<int, const char*> cases[] = {
      {-1, "GET"},    {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"},
      {4, "OPTIONS"}, {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}};
  for (const auto& [number, name] : cases) {
    server.ClearRequests();
    Text status;
    HttpRequest("https://detail.1688.com/m", number, {}, nullptr, nullptr, {}, nullptr, false, {},
                {}, {}, {}, {}, 2, nullptr, &status);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u) << number;
    EXPECT_EQ(requests[0].method, name) << number;
    EXPECT_EQ(status, "200 OK") << number;
  }
}

TEST_F(HttpRequestTest, SendsTheBodyBytesExactly) {
  server.Handle("detail.1688.com", "/post",
                [](const auto&, auto& response) { Reply(response, ""); });
  const Text body = "name="_gbk + "价格"_gbk + "&x=%20+1";
  HttpRequest("https://detail.1688.com/post", 1, body);
  HttpRequest("https://detail.1688.com/post", 3, body);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].body, body);
  EXPECT_EQ(Header(requests[0], "Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[1].method, "PUT");
  EXPECT_EQ(requests[1].body, body);
  EXPECT_EQ(Header(requests[1], "Content-Type"), "<none>");
}

TEST_F(HttpRequestTest, ReturnsBodyHeadersAndStatusOfAnyResponse) {
  server.Handle("detail.1688.com", "/ok",
                [](const auto&, auto& response) { Reply(response, "fine"); });
  server.Handle("detail.1688.com", "/boom", [](const auto&, auto& response) {
    response.status = 500;
    Reply(response, "broken");
  });
  struct Case {
    const char* url;
    const char* status;
    const char* body;
  } cases[] = {{"https://detail.1688.com/ok", "200 OK", "fine"},
               {"http://detail.1688.com/ok", "200 OK", "fine"},
               {"https://detail.1688.com/missing", "404 Not Found", "not found"},
               {"https://detail.1688.com/boom", "500 Internal Server Error", "broken"}};
  for (const auto& c : cases) {
    Text headers;
    Text status;
    Bytes bytes;
    EXPECT_EQ(HttpRequest(c.url, 0, {}, nullptr, nullptr, {}, &headers, false, {}, {}, {}, {}, {},
                          0, nullptr, &status, &bytes),
              c.body);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(Text(bytes.begin(), bytes.end()), c.body);
    EXPECT_EQ(headers.rfind(std::string("HTTP/1.1 ") + c.status + "\r\n", 0), 0u) << headers;
    EXPECT_EQ(headers.substr(headers.size() - 4), "\r\n\r\n");
  }
}

TEST_F(HttpRequestTest, HeadDoesNotWaitForABody) {
  server.Handle("detail.1688.com", "/big",
                [](const auto&, auto& response) { Reply(response, std::string(5000, 'x')); });
  const auto start = std::chrono::steady_clock::now();
  Text status;
  EXPECT_EQ(HttpRequest("https://detail.1688.com/big", 2, {}, nullptr, nullptr, {}, nullptr, false,
                        {}, {}, {}, {}, {}, 5, nullptr, &status),
            "");
  EXPECT_EQ(status, "200 OK");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(HttpRequestTest, MergesCookiesTheServerSets) {
  server.Handle("detail.1688.com", "/login", [](const auto&, auto& response) {
    response.set_header("Set-Cookie", "b=3; Path=/");
    response.set_header("set-cookie", "c=deleted; Path=/");
    Reply(response, "in");
  });
  // A value pasted over several lines is sent and merged as one item per line.
  for (const char* pasted : {"a=1; b=2; c=4", "a=1\r\nb=2;\r\nc=4\r\n"}) {
    server.ClearRequests();
    Text cookies = pasted;
    Text returned;
    Text headers;
    HttpRequest("https://detail.1688.com/login", 0, {}, &cookies, &returned, {}, &headers);
    EXPECT_EQ(returned, "b=3; a=1") << pasted;
    EXPECT_EQ(cookies, "b=3; a=1") << pasted;
    EXPECT_NE(headers.find("Set-Cookie: c=deleted"), Text::npos);
    EXPECT_EQ(headers.find("set-cookie"), Text::npos);
    ASSERT_EQ(server.Requests().size(), 1u) << pasted;
    EXPECT_EQ(Header(server.Requests()[0], "Cookie"), "a=1; b=2; c=4") << pasted;
  }
}

TEST_F(HttpRequestTest, FollowsRedirectsUnlessTold) {
  server.Handle("detail.1688.com", "/start", [](const auto&, auto& response) {
    response.status = 302;
    response.set_header("Location", "/final");
    response.set_header("Set-Cookie", "hop=1");
    Reply(response, "moved");
  });
  server.Handle("detail.1688.com", "/final",
                [](const auto&, auto& response) { Reply(response, "arrived"); });

  Text headers, location, status, returned;
  EXPECT_EQ(HttpRequest("https://detail.1688.com/start", 0, {}, nullptr, &returned, {}, &headers,
                        false, {}, {}, {}, {}, {}, 0, &location, &status),
            "arrived");
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(location, "");
  EXPECT_EQ(returned, "");  // the cookies of the final response only

  headers.clear();
  EXPECT_EQ(HttpRequest("https://detail.1688.com/start", 0, {}, nullptr, &returned, {}, &headers,
                        true, {}, {}, {}, {}, {}, 0, &location, &status),
            "moved");
  EXPECT_EQ(status, "302 Found");
  EXPECT_EQ(location, "/final");
  EXPECT_EQ(returned, "hop=1");
}

TEST_F(HttpRequestTest, RedirectMethodsAndLimits) {
  server.Redirect("detail.1688.com", "/see-other", 303, "/echo");
  server.Redirect("detail.1688.com", "/found", 302, "/echo");
  server.Redirect("detail.1688.com", "/temporary", 307, "/echo");
  server.Redirect("detail.1688.com", "/loop", 302, "/loop");
  server.Handle("detail.1688.com", "/elsewhere", [](const auto&, auto& response) {
    response.status = 301;
    response.set_header("Location", "ftp://detail.1688.com/file");
    Reply(response, "gone");
  });
  server.Handle("detail.1688.com", "/echo", [](const auto& request, auto& response) {
    Reply(response, request.method + ":" + request.body);
  });

  EXPECT_EQ(HttpRequest("https://detail.1688.com/see-other", 1, "k=v"), "GET:");
  EXPECT_EQ(HttpRequest("https://detail.1688.com/see-other", 3, "k=v"), "GET:");
  EXPECT_EQ(HttpRequest("https://detail.1688.com/found", 1, "k=v"), "GET:");
  EXPECT_EQ(HttpRequest("https://detail.1688.com/found", 3, "k=v"), "PUT:k=v");
  EXPECT_EQ(HttpRequest("https://detail.1688.com/temporary", 1, "k=v"), "POST:k=v");

  Text status;
  EXPECT_EQ(HttpRequest("https://detail.1688.com/loop", 0, {}, nullptr, nullptr, {}, nullptr, false,
                        {}, {}, {}, {}, {}, 0, nullptr, &status),
            "");
  EXPECT_EQ(status, "712 服务器未响应!"_gbk);
  server.ClearRequests();
  EXPECT_EQ(HttpRequest("https://detail.1688.com/elsewhere", 0, {}, nullptr, nullptr, {}, nullptr,
                        false, {}, {}, {}, {}, {}, 0, nullptr, &status),
            "gone");
  EXPECT_EQ(status, "301 Moved Permanently");
}

TEST_F(HttpRequestTest, CookiesTheServerSetsReachRedirectsOfTheSameCallOnly) {
  server.Handle("detail.1688.com", "/start", [](const auto&, auto& response) {
    response.status = 302;
    response.set_header("Location", "/final");
    response.set_header("Set-Cookie", "session=s1; Path=/");
  });
  server.Handle("detail.1688.com", "/final",
                [](const auto&, auto& response) { Reply(response, "ok"); });

  Text cookies = "a=1";
  HttpRequest("https://detail.1688.com/start", 0, {}, &cookies);
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(Header(requests[0], "Cookie"), "a=1");
  EXPECT_EQ(HeaderCount(requests[1], "Cookie"), 1u);
  EXPECT_EQ(Header(requests[1], "Cookie"), "session=s1; a=1");

  // Without cookies there is no cookie engine; and nothing is left of the last call.
  server.ClearRequests();
  HttpRequest("https://detail.1688.com/start");
  requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(Header(requests[1], "Cookie"), "<none>");
  server.ClearRequests();
  Text empty;
  HttpRequest("https://detail.1688.com/final", 0, {}, &empty);
  EXPECT_EQ(Header(server.Requests().at(0), "Cookie"), "<none>");
}

// The caller's cookie line and credentials follow a redirect over https within the
// first host's registrable domain, by the Public Suffix List, and nowhere else.
TEST_F(HttpRequestTest, CookieLineAndCredentialsStayWithinTheFirstSiteOverHttps) {
  struct Case {
    const char* from;
    const char* to;
    bool secondHopKeeps;
  } cases[] = {
      {"https://detail.1688.com", "https://detail.1688.com/landing", true},
      {"https://detail.1688.com", "https://login.1688.com/landing", true},
      {"https://detail.1688.com", "https://m.1688.com/landing", true},
      {"https://detail.1688.com", "https://1688.com/landing", true},
      {"https://detail.1688.com", "http://detail.1688.com/landing", false},
      {"https://detail.1688.com", "http://login.1688.com/landing", false},
      {"https://detail.1688.com", "https://1688.com.example/landing", false},
      {"https://detail.1688.com", "https://x1688.com/landing", false},
      {"https://detail.1688.com", "https://img.alicdn.com/landing", false},
      {"https://detail.1688.com", "https://com/landing", false},
      {"https://detail.1688.com", "https://com.cn/landing", false},
      // Under a public suffix of two labels, the neighbours are other sites.
      {"https://www.shop.com.cn", "https://m.shop.com.cn/landing", true},
      {"https://www.shop.com.cn", "https://other.com.cn/landing", false},
      // From plain http: up to https within the site, or back to the first origin.
      {"http://detail.1688.com", "https://login.1688.com/landing", true},
      {"http://detail.1688.com", "http://detail.1688.com/landing", true},
      {"http://detail.1688.com", "http://login.1688.com/landing", false},
  };
  // Credentials given as such, and an Authorization line of the caller's own.
  struct Credentials {
    Text user, password, extraHeaders, sent;
  } credentials[] = {{"user", "pw", "", "Basic dXNlcjpwdw=="},
                     {"", "", "Authorization: Bearer token", "Bearer token"}};
  for (const auto& c : cases) {
    const std::string from = c.from;
    const std::string to = c.to;
    const std::size_t hostStart = to.find("://") + 3;
    server.Redirect(from.substr(from.find("://") + 3), "/start", 302, to);
    server.Handle(to.substr(hostStart, to.find('/', hostStart) - hostStart), "/landing",
                  [](const auto&, auto& response) { Reply(response, "landed"); });
    for (const auto& k : credentials) {
      server.ClearRequests();
      Text cookies = "sid=secret";
      Text status;
      EXPECT_EQ(HttpRequest(from + "/start", 0, {}, &cookies, nullptr, k.extraHeaders, nullptr,
                            false, k.user, k.password, {}, {}, {}, 2, nullptr, &status),
                "landed")
          << to << " " << status;
      const auto requests = server.Requests();
      ASSERT_EQ(requests.size(), 2u) << to;
      EXPECT_EQ(Header(requests[0], "Cookie"), "sid=secret") << to;
      EXPECT_EQ(Header(requests[0], "Authorization"), k.sent) << to;
      EXPECT_EQ(Header(requests[1], "Cookie"), c.secondHopKeeps ? "sid=secret" : "<none>") << to;
      EXPECT_EQ(Header(requests[1], "Authorization"), c.secondHopKeeps ? k.sent : "<none>") << to;
    }
  }
}

TEST_F(HttpRequestTest, BasicCredentialsOnlyWhenBothHalvesAreGiven) {
  server.Handle("detail.1688.com", "/auth",
                [](const auto&, auto& response) { Reply(response, ""); });
  const std::pair<Text, Text> cases[] = {{"u", "p"}, {"u", ""}, {"", "p"}};
  for (const auto& [user, password] : cases) {
    server.ClearRequests();
    HttpRequest("https://detail.1688.com/auth", 0, {}, nullptr, nullptr, {}, nullptr, false, user,
                password);
    const bool both = !user.empty() && !password.empty();
    EXPECT_EQ(Header(server.Requests().at(0), "Authorization"), both ? "Basic dTpw" : "<none>");
  }
}

TEST_F(HttpRequestTest, ReportsStatusAndResultsOnlyForAResponse) {
  struct Case {
    Text url;
    const char* message;
  } cases[] = {
      {"", "701 解析URL地址失败!"},
      {"detail.1688.com/offer/1.html", "701 解析URL地址失败!"},
      {"ftp://detail.1688.com/x", "701 解析URL地址失败!"},
      {"http://", "701 解析URL地址失败!"},
      {"http://no-such-host.invalid:81/", "711 发送请求失败!"},
  };
  for (const auto& c : cases) {
    Text headers = "untouched", status;
    Bytes bytes = {1};
    EXPECT_EQ(HttpRequest(c.url, 0, {}, nullptr, nullptr, {}, &headers, false, {}, {}, {}, {}, {},
                          1, nullptr, &status, &bytes),
              "");
    EXPECT_EQ(status, Utf8ToGbk(c.message)) << c.url;
    EXPECT_EQ(headers, "untouched");
    EXPECT_EQ(bytes, Bytes{1});
  }
}

TEST(HttpRequestFailureTest, RefusedConnectionIsASendFailure) {
  int port = 0;
  {
    port = RawServer([](RawConnection&) {}).Port();
  }  // a port nobody listens on now
  Text status;
  HttpRequest("http://127.0.0.1:" + std::to_string(port) + "/", 0, {}, nullptr, nullptr, {},
              nullptr, false, {}, {}, {}, {}, {}, 1, nullptr, &status);
  EXPECT_EQ(status, "711 发送请求失败!"_gbk);
}

TEST(HttpRequestFailureTest, ServerThatClosesWithoutAnswerIsNoResponse) {
  RawServer raw([](RawConnection& connection) {
    connection.ReadRequest();
    connection.Close();
  });
  Text status;
  EXPECT_EQ(HttpRequest(raw.Url(), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {}, {},
                        1, nullptr, &status),
            "");
  EXPECT_EQ(status, "712 服务器未响应!"_gbk);
}

TEST(HttpRequestFailureTest, StallBeforeTheHeadersTimesOutAsNoResponse) {
  RawServer raw([](RawConnection& connection) {
    connection.ReadRequest();
    connection.Sleep(5000ms);
  });
  const auto start = std::chrono::steady_clock::now();
  Text status;
  HttpRequest(raw.Url(), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {}, {}, 1,
              nullptr, &status);
  EXPECT_EQ(status, "712 服务器未响应!"_gbk);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3500ms);
}

// A request body the server stops taking in has not been sent; a body taken in
// whole and never answered is a server that does not respond.
TEST(HttpRequestFailureTest, StalledSendIsASendFailure) {
  const struct {
    const char* name;
    std::size_t bodySize;
    bool serverReads;
    const char* message;
  } cases[] = {
      // Far more than the socket buffers of both ends hold.
      {"body never read", std::size_t{32} << 20, false, "711 发送请求失败!"},
      {"body read, no answer", 1000, true, "712 服务器未响应!"},
  };
  for (const auto& c : cases) {
    RawServer raw([&c](RawConnection& connection) {
      if (c.serverReads) connection.ReadRequest();
      connection.Sleep(5000ms);
    });
    Text status;
    EXPECT_EQ(HttpRequest(raw.Url(), 1, Text(c.bodySize, 'b'), nullptr, nullptr, {}, nullptr, false,
                          {}, {}, {}, {}, {}, 1, nullptr, &status),
              "")
        << c.name;
    EXPECT_EQ(status, Utf8ToGbk(c.message)) << c.name;
  }
}

const char kCutHead[] = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";

TEST(HttpRequestFailureTest, BodyCutMidWayGivesThePartAndTheStatusText) {
  const struct {
    const char* name;
    std::function<void(RawConnection&)> rest;
  } cases[] = {{"closed", [](RawConnection& c) { c.Close(); }},
               {"stalled", [](RawConnection& c) { c.Sleep(3500ms); }}};
  for (const auto& c : cases) {
    RawServer raw([&c](RawConnection& connection) {
      connection.ReadRequest();
      connection.Write(std::string(kCutHead) + "0123456789");
      c.rest(connection);
    });
    const auto start = std::chrono::steady_clock::now();
    Text status, headers;
    Bytes bytes;
    EXPECT_EQ(HttpRequest(raw.Url(), 0, {}, nullptr, nullptr, {}, &headers, false, {}, {}, {}, {},
                          {}, 1, nullptr, &status, &bytes),
              "0123456789")
        << c.name;
    EXPECT_EQ(status, "200 OK") << c.name;
    EXPECT_EQ(bytes.size(), 10u) << c.name;
    EXPECT_EQ(headers, kCutHead) << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3500ms) << c.name;
  }
}

TEST(HttpRequestFailureTest, SlowButSteadyBodyIsReadToItsEnd) {
  RawServer raw([](RawConnection& connection) {
    connection.ReadRequest();
    connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 13\r\n\r\n");
    for (char c : std::string("slow but sure")) {
      connection.Sleep(200ms);
      connection.Write(std::string(1, c));
    }
  });
  Text status;
  EXPECT_EQ(HttpRequest(raw.Url(), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {}, {},
                        1, nullptr, &status),
            "slow but sure");
  EXPECT_EQ(status, "200 OK");
}

TEST(HttpRequestWireTest, SendsExactlyTheComposedHeaderBlock) {
  RawServer raw([](RawConnection& connection) {
    while (!connection.ReadRequest().empty()) {
      connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    }
  });
  const std::string host = "Host: 127.0.0.1:" + std::to_string(raw.Port()) + "\r\n";
  const std::string defaults =
      "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
      "Accept: text/html, application/xhtml+xml, */*\r\n"
      "Accept-Encoding: gbk, GB2312\r\n"
      "Accept-Language: zh-cn\r\n";
  Text cookies = "a=1";
  HttpRequest(raw.Url("/p?q=1"), 0, {}, &cookies);
  HttpRequest(raw.Url("/p"), 1, "x=1", nullptr, nullptr, "content-type: text/plain");
  HttpRequest(raw.Url("/p"), 0, {}, nullptr, nullptr, "X-Test: 1\r\nAccept: */*\r\nx-test: 2");
  const auto requests = raw.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0], "GET /p?q=1 HTTP/1.1\r\n" + host + defaults +
                             "Cache-Control: no-cache\r\nCookie: a=1\r\n\r\n");
  EXPECT_EQ(requests[1], "POST /p HTTP/1.1\r\n" + host +
                             "Content-Type: application/x-www-form-urlencoded\r\n" + defaults +
                             "Cache-Control: no-cache\r\nContent-Length: 3\r\n\r\nx=1");
  EXPECT_EQ(requests[2],
            "GET /p HTTP/1.1\r\n" + host +
                "x-test: 2\r\nAccept: */*\r\n"
                "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
                "Trident/5.0)\r\nAccept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\n"
                "Cache-Control: no-cache\r\n\r\n");
}

// True when every CR of the bytes is followed by LF and every LF follows a CR.
bool OnlyCrLfLineBreaks(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return true;
}

TEST(HttpRequestWireTest, PastedCookieLinesGoOutAsOneCookieLine) {
  RawServer raw([](RawConnection& connection) {
    while (!connection.ReadRequest().empty()) {
      connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    }
  });
  const std::pair<Text, const char*> cases[] = {
      {"a=1\r\nb=2\r\n", "\r\nCookie: a=1; b=2\r\n\r\n"},
      {"\r\n a=1;\n\nb=2\rc=3 ", "\r\nCookie: a=1; b=2; c=3\r\n\r\n"},
      {"a=1\nX-Other: y", "\r\nCookie: a=1; X-Other: y\r\n\r\n"},
      {"\r\n\r\n", "\r\nCache-Control: no-cache\r\n\r\n"},  // no Cookie line at all
  };
  for (const auto& [pasted, tail] : cases) {
    Text cookies = pasted;
    Text status;
    EXPECT_EQ(HttpRequest(raw.Url(), 0, {}, &cookies, nullptr, {}, nullptr, false, {}, {}, {}, {},
                          {}, 2, nullptr, &status),
              "ok")
        << pasted << status;
  }
  const auto requests = raw.Requests();
  ASSERT_EQ(requests.size(), std::size(cases));
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const std::string& request = requests[i];
    EXPECT_TRUE(request.ends_with(cases[i].second)) << request;
    EXPECT_TRUE(OnlyCrLfLineBreaks(request)) << request;
    EXPECT_EQ(request.find("\nX-Other"), std::string::npos) << request;
  }
}

TEST(HttpRequestWireTest, HeaderLinesThatWouldBreakOnTheWireAreRefused) {
  RawServer raw([](RawConnection& connection) { connection.ReadRequest(); });
  for (const char* extraHeaders : {"garbage", "X-A: 1\nX-B: 2", "X-A: 1\rX-B: 2", "X-A: 1\n",
                                   "Cookie: a=1\nb=2", "Cookie: a=1\r\n b=2", "X-A: 1\r"}) {
    Text cookies = "c=3";
    Text status;
    EXPECT_EQ(HttpRequest(raw.Url(), 0, {}, &cookies, nullptr, extraHeaders, nullptr, false, {}, {},
                          {}, {}, {}, 1, nullptr, &status),
              "");
    EXPECT_EQ(status, "710 设置协议头失败!"_gbk) << extraHeaders;
  }
  EXPECT_EQ(raw.Connections(), 0);
}

TEST(HttpRequestProxyTest, NamedProxyIsUsedAsGivenAndTheEnvironmentNever) {
  RawServer proxy([](RawConnection& connection) {
    if (!connection.ReadRequest().empty()) {
      connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nproxied");
    }
  });
  const Text address = "127.0.0.1:" + std::to_string(proxy.Port());
  EXPECT_EQ(HttpRequest("http://detail.1688.com/offer/1.html", 0, {}, nullptr, nullptr, {}, nullptr,
                        false, {}, {}, address, "pu", "pp", 2),
            "proxied");
  HttpRequest("http://detail.1688.com/offer/1.html", 0, {}, nullptr, nullptr, {}, nullptr, false,
              {}, {}, address, "pu", {}, 2);
  Text status;
  HttpRequest(kPage, 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, address, {}, {}, 2,
              nullptr, &status);
  auto requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].rfind("GET http://detail.1688.com/offer/1.html HTTP/1.1\r\n", 0), 0u);
  EXPECT_NE(requests[0].find("\r\nProxy-Authorization: Basic cHU6cHA=\r\n"), std::string::npos);
  EXPECT_EQ(requests[1].find("Proxy-Authorization"), std::string::npos);
  EXPECT_EQ(requests[2].rfind("CONNECT detail.1688.com:443 HTTP/1.1\r\n", 0), 0u);

  // A proxy in the environment is never consulted.
  FixtureServer server;
  ScopedSeams seams(server);
  server.Handle("detail.1688.com", "/offer/1.html",
                [](const auto&, auto& response) { Reply(response, "direct"); });
  Text plain;
  Text secure;
  {
    testing::ScopedEnv httpProxy("http_proxy", "http://" + address);
    testing::ScopedEnv httpsProxy("https_proxy", "http://" + address);
    plain = HttpRequest("http://detail.1688.com/offer/1.html");
    secure = HttpRequest(kPage);
  }
  EXPECT_EQ(plain, "direct");
  EXPECT_EQ(secure, "direct");
  EXPECT_EQ(proxy.Requests().size(), 3u);
}

TEST_F(HttpRequestTest, CertificatesAreAlwaysVerified) {
  server.Handle("detail.1688.com", "/tls",
                [](const auto&, auto& response) { Reply(response, "tls"); });
  Text status;
  // The fixture certificate does not name this host.
  HttpRequest("https://example.org/tls", 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {},
              {}, {}, 2, nullptr, &status);
  EXPECT_EQ(status, "711 发送请求失败!"_gbk);
  if (testing::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's Schannel accepts any certificate when no CA file is given; "
                    "Windows checks it against the system's store";
  }
  // Without the test authority the certificate is nobody's.
  testing::ScopedEnv noAuthority("TESSALY_CA_FILE", std::nullopt);
  status.clear();
  HttpRequest("https://detail.1688.com/tls", 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {},
              {}, {}, {}, 2, nullptr, &status);
  EXPECT_EQ(status, "711 发送请求失败!"_gbk);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpRequestTest, NonAsciiAddressesAreSentPercentEncoded) {
  server.Handle("detail.1688.com", "/搜索",
                [](const auto&, auto& response) { Reply(response, "found"); });
  EXPECT_EQ(HttpRequest("https://detail.1688.com/搜索?q=女装 夏"_gbk), "found");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].path, "/%E6%90%9C%E7%B4%A2?q=%E5%A5%B3%E8%A3%85%20%E5%A4%8F");
}

TEST_F(HttpRequestTest, PageBodyIsCappedAndTreatedAsCutShort) {
  server.Handle("detail.1688.com", "/huge",
                [](const auto&, auto& response) { Reply(response, std::string(5000, 'h')); });
  SetBodyCapForTesting(1000);
  Text status;
  Bytes bytes;
  const Text page = HttpRequest("https://detail.1688.com/huge", 0, {}, nullptr, nullptr, {},
                                nullptr, false, {}, {}, {}, {}, {}, 0, nullptr, &status, &bytes);
  SetBodyCapForTesting(0);
  EXPECT_EQ(page, std::string(1000, 'h'));
  EXPECT_EQ(bytes.size(), 1000u);
  EXPECT_EQ(status, "200 OK");
}

TEST_F(HttpRequestTest, DecodesTheDeclaredCharacterSet) {
  const std::string page = "<meta charset=\"utf-8\"><b>货号：A1</b>";
  server.Handle("detail.1688.com", "/utf8",
                [&page](const auto&, auto& response) { Reply(response, page); });
  Bytes bytes;
  EXPECT_EQ(HttpRequest("https://detail.1688.com/utf8", 0, {}, nullptr, nullptr, {}, nullptr, false,
                        {}, {}, {}, {}, {}, 0, nullptr, nullptr, &bytes),
            Utf8ToGbk(page));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), page);
}

}  // namespace
}  // namespace tessaly
