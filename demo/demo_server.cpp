// tessaly-demo-server: a synthetic marketplace on loopback for the app, the
// headless collector and the benchmarks.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <signal.h>

#include "demo_catalogue.h"
#include "support/fixture_marketplace.h"

namespace {

using tessaly::demo::CatalogueShape;

constexpr char kUsage[] =
    "Usage: tessaly-demo-server [options]\n"
    "\n"
    "Serves a synthetic marketplace on 127.0.0.1 under the real host names: the\n"
    "version text \"1\", product pages, description documents and generated PNG\n"
    "pictures. Prints the two environment variables that point the app or\n"
    "tessaly-collect at it, and the links to paste; serves until stopped.\n"
    "\n"
    "Options:\n"
    "  --products N      number of products (default 6)\n"
    "  --images N        pictures per product (default 8)\n"
    "  --image-kb N      size of each picture in KB (default 40)\n"
    "  --page-kb N       pad each product page to N KB (default: no padding)\n"
    "  --seconds N       stop after N seconds (default: until SIGINT or SIGTERM)\n"
    "  --env-file FILE   also write the two export lines to FILE\n"
    "  --links-file FILE also write the links to FILE, one per line\n"
    "  --urls-file FILE  also write every address a full run fetches, in order\n";

struct ServerOptions {
  CatalogueShape shape;
  int seconds = 0;
  std::string env_file;
  std::string links_file;
  std::string urls_file;
};

bool ParseCount(const std::string& text, int& value) {
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || parsed < 0 || parsed > 1000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

// Empty when the command line is fine; "help" for --help.
std::string ParseArguments(int argc, char** argv, ServerOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "-h" || name == "--help") return "help";
    if (i + 1 >= argc) return "unknown option or missing value: " + name;
    const std::string value = argv[++i];
    int* count = name == "--products"   ? &options.shape.products
                 : name == "--images"   ? &options.shape.images
                 : name == "--image-kb" ? &options.shape.image_kb
                 : name == "--page-kb"  ? &options.shape.page_kb
                 : name == "--seconds"  ? &options.seconds
                                        : nullptr;
    std::string* file = name == "--env-file"     ? &options.env_file
                        : name == "--links-file" ? &options.links_file
                        : name == "--urls-file"  ? &options.urls_file
                                                 : nullptr;
    if (count != nullptr) {
      if (!ParseCount(value, *count)) return "not a count: " + name + " " + value;
    } else if (file != nullptr) {
      *file = value;
    } else {
      return "unknown option: " + name;
    }
  }
  return {};
}

// Written under a temporary name and renamed, so that a script waiting for the
// file never reads half of it.
bool WriteWhole(const std::string& path, const std::string& content) {
  if (path.empty()) return true;
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  return !error;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  ServerOptions options;
  const std::string problem = ParseArguments(argc, argv, options);
  if (problem == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "tessaly-demo-server: %s\n%s", problem.c_str(), kUsage);
    return 64;
  }

  // Blocked before the listeners start their threads, which inherit the mask, so
  // that the signals reach the wait below and the servers stop cleanly.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  tessaly::testing::FixtureMarketplace marketplace;
  const auto products = tessaly::demo::ServeCatalogue(marketplace, options.shape);

  const std::string ca_file = tessaly::testing::TestCaFile();
  const std::string exports = "export TESSALY_CONNECT_TO='" + marketplace.ConnectToValue() +
                              "'\nexport TESSALY_CA_FILE='" + ca_file + "'\n";
  std::vector<std::string> links;
  for (const auto& product : products) links.push_back(tessaly::demo::ProductLink(product));

  if (!WriteWhole(options.urls_file, Lines(tessaly::demo::CollectionAddresses(products))) ||
      !WriteWhole(options.links_file, Lines(links)) || !WriteWhole(options.env_file, exports)) {
    std::fprintf(stderr, "tessaly-demo-server: cannot write the files asked for\n");
    return 73;
  }
  if (!std::filesystem::exists(ca_file)) {
    std::fprintf(stderr, "tessaly-demo-server: warning: %s is missing; build the tests first\n",
                 ca_file.c_str());
  }

  std::printf(
      "Tessaly demo marketplace: %zu products on 127.0.0.1 (HTTP port %d, HTTPS port %d).\n"
      "Point the app or tessaly-collect at it from another shell:\n\n%s\nLinks to paste:\n%s\n",
      products.size(), marketplace.Server().HttpPort(), marketplace.Server().HttpsPort(),
      exports.c_str(), Lines(links).c_str());
  std::printf(
      options.seconds > 0 ? "Serving for %d seconds.\n" : "Serving until stopped (Ctrl-C).\n",
      options.seconds);
  std::fflush(stdout);

  if (options.seconds > 0) {
    const timespec limit{options.seconds, 0};
    while (sigtimedwait(&stop_signals, nullptr, &limit) < 0 && errno == EINTR) {
    }
  } else {
    int received = 0;
    sigwait(&stop_signals, &received);
  }
  return 0;
}
