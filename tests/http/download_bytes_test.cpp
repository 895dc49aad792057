#include "http/download_bytes.h"

#include <string>

#include <gtest/gtest.h>

#include "http/transfer_limits.h"
#include "support/bytes.h"
#include "support/fixture_server.h"
#include "support/raw_server.h"

namespace tessaly {
namespace {

using testing::FixtureServer;
using testing::RawConnection;
using testing::RawServer;
using testing::ScopedSeams;
using testing::ToString;

class DownloadBytesTest : public ::testing::Test {
 protected:
  FixtureServer server;
  ScopedSeams seams{server};
};

TEST_F(DownloadBytesTest, ReturnsTheBodyWhateverTheStatus) {
  server.Handle("img.alicdn.com", "/a.jpg",
                [](const auto&, auto& response) { response.set_content("JPEG", "image/jpeg"); });
  server.Handle("img.alicdn.com", "/error", [](const auto&, auto& response) {
    response.status = 500;
    response.set_content("<html>oops</html>", "text/html");
  });
  const struct {
    const char* url;
    int status;
    const char* body;
  } cases[] = {{"https://img.alicdn.com/a.jpg", 200, "JPEG"},
               {"http://img.alicdn.com/a.jpg", 200, "JPEG"},
               {"https://img.alicdn.com/none.jpg", 404, "not found"},
               {"https://img.alicdn.com/error", 500, "<html>oops</html>"}};
  for (const auto& c : cases) {
    int status = -1;
    bool complete = false;
    EXPECT_EQ(ToString(DownloadBytes(c.url, &status, &complete)), c.body) << c.url;
    EXPECT_EQ(status, c.status) << c.url;
    EXPECT_TRUE(complete) << c.url;
  }
}

TEST_F(DownloadBytesTest, FollowsRedirectsAndNeverSendsTheFragment) {
  server.Redirect("img.alicdn.com", "/old.jpg", 301, "https://cbu01.alicdn.com/new.jpg?size=2");
  server.Handle("cbu01.alicdn.com", "/new.jpg",
                [](const auto&, auto& response) { response.set_content("NEW", "image/jpeg"); });
  int status = 0;
  EXPECT_EQ(ToString(DownloadBytes("https://img.alicdn.com/old.jpg?x=1#frag#more", &status)),
            "NEW");
  EXPECT_EQ(status, 200);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].path, "/old.jpg?x=1");
  EXPECT_EQ(requests[1].host, "cbu01.alicdn.com");
  EXPECT_EQ(requests[1].path, "/new.jpg?size=2");
  EXPECT_EQ(requests[0].headers.count("Cookie"), 0u);
}

TEST_F(DownloadBytesTest, OtherSchemesAndBadAddressesGiveNothing) {
  for (const char* address : {"", "ftp://img.alicdn.com/a.jpg", "img.alicdn.com/a.jpg", "#x",
                              "http://no-such-host.invalid:81/a.jpg"}) {
    int status = -1;
    EXPECT_TRUE(DownloadBytes(address, &status).empty()) << address;
    EXPECT_EQ(status, 0) << address;
  }
}

TEST_F(DownloadBytesTest, BodyIsCappedAtTheLimit) {
  server.Handle("img.alicdn.com", "/huge.jpg", [](const auto&, auto& response) {
    response.set_content(std::string(4096, 'i'), "image/jpeg");
  });
  SetBodyCapForTesting(1000);
  const Bytes bytes = DownloadBytes("https://img.alicdn.com/huge.jpg");
  SetBodyCapForTesting(0);
  EXPECT_EQ(bytes.size(), 1000u);
}

TEST(DownloadBytesWireTest, SendsHttp10WithTheAgentAndAcceptAll) {
  RawServer raw([](RawConnection& connection) {
    connection.ReadRequest();
    connection.Write("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nraw");
  });
  const Bytes bytes = DownloadBytes(raw.Url("/p.jpg?q=1#top"));
  EXPECT_EQ(ToString(bytes), "raw");
  const auto requests = raw.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& request = requests[0];
  EXPECT_EQ(request.rfind("GET /p.jpg?q=1 HTTP/1.0\r\n", 0), 0u) << request;
  EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
            std::string::npos);
  EXPECT_NE(request.find("\r\nAccept: */*\r\n"), std::string::npos);
  for (const char* conditional : {"If-Modified-Since", "If-None-Match", "Cookie"}) {
    EXPECT_EQ(request.find(conditional), std::string::npos) << conditional;
  }
}

TEST(DownloadBytesWireTest, DownloadsShareOneKeptConnection) {
  RawServer raw([](RawConnection& connection) {
    while (!connection.ReadRequest().empty()) {
      connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nimg");
    }
  });
  const std::string base = raw.Url("/");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ToString(DownloadBytes(base + std::to_string(i))), "img");
  EXPECT_EQ(raw.Requests().size(), 3u);
  EXPECT_EQ(raw.Connections(), 1);
}

TEST(DownloadBytesWireTest, ReadFailingPartWayKeepsTheBytesSoFar) {
  RawServer raw([](RawConnection& connection) {
    connection.ReadRequest();
    connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial");
    connection.Close();
  });
  int status = 0;
  bool complete = true;
  EXPECT_EQ(ToString(DownloadBytes(raw.Url("/"), &status, &complete)), "partial");
  EXPECT_EQ(status, 200);
  EXPECT_FALSE(complete);
}

}  // namespace
}  // namespace tessaly
