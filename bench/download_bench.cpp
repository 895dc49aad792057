// Plain downloads over HTTPS, one after another, against the curl command-line
// program fetching the same list in one process: 200 images of 200 KB from a
// loopback server that presents the real image host's name.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "http/download_bytes.h"
#include "support/fixture_server.h"

namespace {

constexpr int kImages = 200;
constexpr std::size_t kImageSize = 200 * 1024;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ImageUrl(int index) {
  return "https://img.alicdn.com/bench/" + std::to_string(index) + ".jpg";
}

}  // namespace

int main() {
  using tessaly::testing::FixtureServer;
  FixtureServer server;
  tessaly::testing::ScopedSeams seams(server);

  std::string image(kImageSize, '\0');
  std::mt19937 random(7);
  for (char& byte : image) byte = static_cast<char>(random());
  for (int i = 0; i < kImages; ++i) {
    server.Handle("img.alicdn.com", "/bench/" + std::to_string(i) + ".jpg",
                  [&image](const httplib::Request&, httplib::Response& response) {
                    response.set_content(image, "image/jpeg");
                  });
  }

  // One download first, so that both runs start after the server's first handshake.
  tessaly::DownloadBytes(ImageUrl(0));
  auto start = Clock::now();
  std::size_t received = 0;
  for (int i = 0; i < kImages; ++i) received += tessaly::DownloadBytes(ImageUrl(i)).size();
  const double ours = SecondsSince(start);
  if (received != kImages * kImageSize) {
    std::fprintf(stderr, "DownloadBytes received %zu bytes, expected %zu\n", received,
                 kImages * kImageSize);
    return 1;
  }

  const auto config = std::filesystem::temp_directory_path() /
                      ("download_bench_" + std::to_string(::getpid()) + ".cfg");
  {
    std::ofstream out(config);
    const std::string connectTo = server.ConnectToValue();
    out << "silent\nfail\n";
    out << "connect-to = \"" << connectTo.substr(connectTo.find(',') + 1) << "\"\n";
    out << "cacert = \"" << tessaly::testing::TestCaFile() << "\"\n";
    for (int i = 0; i < kImages; ++i) {
      out << "url = \"" << ImageUrl(i) << "\"\noutput = \"/dev/null\"\n";
    }
  }
  const std::string command = "curl -K '" + config.string() + "'";
  start = Clock::now();
  const int status = std::system(command.c_str());
  const double theirs = SecondsSince(start);
  std::filesystem::remove(config);
  if (status != 0) {
    std::fprintf(stderr, "curl failed with status %d\n", status);
    return 1;
  }

  std::printf("download_bench: %d x %zu KB over HTTPS, sequential\n", kImages, kImageSize / 1024);
  std::printf("  DownloadBytes  %.3f s\n", ours);
  std::printf("  curl CLI       %.3f s\n", theirs);
  std::printf("  ratio          %.2f (target <= 1.20)\n", ours / theirs);
  return 0;
}
