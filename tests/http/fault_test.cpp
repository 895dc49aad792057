// Servers that misbehave on purpose, beyond the ordinary failures of the request
// routine's own tests: lengths that lie, header blocks that never end, responses
// smuggled behind a short body, a huge page, a certificate for another host. What
// must hold: every call ends within its time-out, gives what the routine promises
// (the body so far, or nothing), and never takes one response for another's.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "http/download_bytes.h"
#include "http/http_request.h"
#include "http/transfer_limits.h"
#include "support/bytes.h"
#include "support/fixture_server.h"
#include "support/raw_server.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

using namespace std::chrono_literals;
using testing::FixtureServer;
using testing::RawConnection;
using testing::RawServer;
using testing::ScopedSeams;
using testing::ToString;

using Clock = std::chrono::steady_clock;
using Script = std::function<void(RawConnection&)>;

struct Outcome {
  Text result;
  Text status;
  Clock::duration took;
};

// One GET with a one-second time-out against `script`.
Outcome Request(const Script& script) {
  RawServer raw(script);
  Outcome outcome;
  const auto start = Clock::now();
  outcome.result = HttpRequest(raw.Url(), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {},
                               {}, {}, 1, nullptr, &outcome.status);
  outcome.took = Clock::now() - start;
  return outcome;
}

void ReplyThenClose(RawConnection& connection, const std::string& bytes) {
  connection.ReadRequest();
  connection.Write(bytes);
  connection.Close();
}

TEST(HttpFaultTest, BrokenResponsesEndQuicklyWithTheBodySoFarOrNothing) {
  const std::string hugeLine = "X-Filler: " + std::string(1 << 20, 'f') + "\r\n";
  const struct Case {
    const char* name;
    Script script;
    const char* result;
    const char* status;  // UTF-8
  } cases[] = {
      {"not HTTP at all", [](RawConnection& c) { ReplyThenClose(c, "HELLO THERE\r\n\r\n"); }, "",
       "712 服务器未响应!"},
      {"body longer than its Content-Length",
       [](RawConnection& c) {
         ReplyThenClose(c, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfirst and more");
       },
       "first", "200 OK"},
      {"negative Content-Length",
       [](RawConnection& c) {
         ReplyThenClose(c, "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabc");
       },
       "", "712 服务器未响应!"},
      {"two Content-Lengths that disagree",
       [](RawConnection& c) {
         ReplyThenClose(c, "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 9\r\n\r\nabc");
       },
       "abc", "200 OK"},
      {"chunked body cut inside a chunk",
       [](RawConnection& c) {
         ReplyThenClose(c, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n0123");
       },
       "0123", "200 OK"},
      {"a header line of a megabyte",
       [&hugeLine](RawConnection& c) {
         ReplyThenClose(c, "HTTP/1.1 200 OK\r\n" + hugeLine + "Content-Length: 2\r\n\r\nok");
       },
       "", "712 服务器未响应!"},
      {"header lines that never end",
       [](RawConnection& c) {
         c.ReadRequest();
         c.Write("HTTP/1.1 200 OK\r\n");
         const auto until = Clock::now() + 3s;
         while (Clock::now() < until &&
                c.Write("Set-Cookie: a=" + std::string(1000, 'c') + "\r\n")) {
         }
       },
       "", "712 服务器未响应!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = Request(c.script);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(GbkToUtf8(outcome.status), c.status);
    EXPECT_LT(outcome.took, 2500ms);
  }
}

TEST(HttpFaultTest, BytesBeyondTheBodyNeverAnswerTheNextRequest) {
  // Every answer carries a second, unasked-for response behind its five bytes.
  const std::string answer =
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfirst"
      "HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nsmuggled";
  RawServer raw([&answer](RawConnection& connection) {
    while (!connection.ReadRequest().empty()) {
      if (!connection.Write(answer)) return;
    }
  });
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(
        HttpRequest(raw.Url(), 0, {}, nullptr, nullptr, {}, nullptr, false, {}, {}, {}, {}, {}, 1),
        "first")
        << i;
    EXPECT_EQ(ToString(DownloadBytes(raw.Url())), "first") << i;
  }
}

TEST(HttpFaultTest, DownloadThatIsCutOrRedirectedForeverGivesNoPicture) {
  RawServer loop([](RawConnection& connection) {
    while (!connection.ReadRequest().empty()) {
      if (!connection.Write(
              "HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n")) {
        return;
      }
    }
  });
  int status = -1;
  EXPECT_TRUE(DownloadBytes(loop.Url(), &status).empty());
  EXPECT_EQ(status, 0);
  // The first request and ten redirects, then it gives up.
  EXPECT_EQ(loop.Requests().size(), 11u);
}

TEST(HttpFaultTest, TwentyMegabytePageAndPictureArriveWhole) {
  FixtureServer server;
  ScopedSeams seams(server);
  std::string page = "<meta charset=\"gbk\">";
  page.resize(20u << 20, 'p');
  server.Handle("detail.1688.com", "/offer/big.html",
                [&page](const auto&, auto& response) { response.set_content(page, "text/html"); });
  server.Handle("cbu01.alicdn.com", "/big.jpg",
                [&page](const auto&, auto& response) { response.set_content(page, "image/jpeg"); });

  const auto start = Clock::now();
  Text status;
  const Text text = HttpRequest("https://detail.1688.com/offer/big.html", 0, {}, nullptr, nullptr,
                                {}, nullptr, false, {}, {}, {}, {}, {}, 0, nullptr, &status);
  int imageStatus = 0;
  const Bytes picture = DownloadBytes("https://cbu01.alicdn.com/big.jpg", &imageStatus);
  const auto took = Clock::now() - start;

  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(text.size(), page.size());
  EXPECT_TRUE(text == page);
  EXPECT_EQ(imageStatus, 200);
  EXPECT_EQ(picture.size(), page.size());
  ::testing::Test::RecordProperty(
      "milliseconds",
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

TEST(HttpFaultTest, CertificateOfAnotherHostIsRefusedBeforeAnythingIsSent) {
  FixtureServer server;
  ScopedSeams seams(server);
  server.Handle("evil.example", "/", [](const auto&, auto& response) {
    response.set_content("should never be read", "text/plain");
  });
  Text status;
  EXPECT_EQ(HttpRequest("https://evil.example/", 0, {}, nullptr, nullptr, {}, nullptr, false, {},
                        {}, {}, {}, {}, 1, nullptr, &status),
            "");
  EXPECT_EQ(status, "711 发送请求失败!"_gbk);
  EXPECT_TRUE(DownloadBytes("https://evil.example/").empty());
  EXPECT_TRUE(server.Requests().empty());
}

TEST(HttpFaultTest, DownloadStalledMidBodyEndsAfterItsIdleLimit) {
  SetDownloadIdleForTesting(1000);
  std::atomic<bool> finished{false};
  RawServer raw([&finished](RawConnection& connection) {
    connection.ReadRequest();
    connection.Write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial");
    const auto until = Clock::now() + 40s;
    while (!finished && Clock::now() < until) connection.Sleep(100ms);
  });
  const auto start = Clock::now();
  int status = 0;
  EXPECT_EQ(ToString(DownloadBytes(raw.Url(), &status)), "partial");
  const auto took = Clock::now() - start;
  finished = true;
  SetDownloadIdleForTesting(0);
  EXPECT_GE(took, 1s);
  EXPECT_LT(took, 5s);
}

}  // namespace
}  // namespace tessaly
