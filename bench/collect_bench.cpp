// End-to-end figures of the headless collector against the demo marketplace on
// loopback: a collection timed next to curl fetching the same addresses in one
// process (the floor for sequential fetching), peak resident memory as the number
// of products grows, and start-up times. scripts/bench passes the programs' paths.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct BenchOptions {
  std::string collector;
  std::string demo_server;
  std::string app;  // empty: the app's start-up is not measured
  std::string curl = "curl";
  int products = 100;  // the timed run
  int images = 10;     // per product
  int image_kb = 200;
  int page_kb = 300;
  int repeats = 3;
  std::vector<int> memory_products = {10, 100, 400};
};

struct Finished {
  int exit_code = -1;
  double seconds = 0;
  double cpu_seconds = 0;  // user and system time of the process alone
  long peak_kb = 0;        // ru_maxrss of the process alone
};

// Owns posix_spawn's file actions.
class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

pid_t Spawn(std::vector<std::string> arguments, const std::string& output, int stderr_fd = -1,
            const std::string& folder = {}) {
  SpawnActions actions;
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(actions.get(), folder.c_str());
  posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(actions.get(), 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  if (stderr_fd >= 0) {
    posix_spawn_file_actions_adddup2(actions.get(), stderr_fd, 2);
  } else {
    posix_spawn_file_actions_adddup2(actions.get(), 1, 2);
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = -1;
  if (posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), environ) != 0) return -1;
  return child;
}

// Runs to the end; the time covers the spawn, so it is what a user waits.
Finished RunTimed(const std::vector<std::string>& arguments, const std::string& output) {
  Finished finished;
  const auto start = Clock::now();
  const pid_t child = Spawn(arguments, output);
  if (child < 0) return finished;
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  finished.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  finished.peak_kb = usage.ru_maxrss;
  finished.cpu_seconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                         usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  if (WIFEXITED(status)) finished.exit_code = WEXITSTATUS(status);
  return finished;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadWhole(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

void WriteWhole(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// "export NAME='value'" lines of the demo server's environment file.
bool ApplyExports(const std::string& path) {
  int applied = 0;
  for (const std::string& line : ReadLines(path)) {
    const std::size_t equals = line.find('=');
    if (line.rfind("export ", 0) != 0 || equals == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && value.front() == '\'') value = value.substr(1, value.size() - 2);
    setenv(line.substr(7, equals - 7).c_str(), value.c_str(), 1);
    ++applied;
  }
  return applied == 2;
}

class DemoServer {
 public:
  DemoServer(const BenchOptions& options, int products, const fs::path& work) {
    env_file_ = (work / "demo.env").string();
    links_file_ = (work / "links.txt").string();
    urls_file_ = (work / "urls.txt").string();
    pid_ = Spawn({options.demo_server, "--products", std::to_string(products), "--images",
                  std::to_string(options.images), "--image-kb", std::to_string(options.image_kb),
                  "--page-kb", std::to_string(options.page_kb), "--env-file", env_file_,
                  "--links-file", links_file_, "--urls-file", urls_file_},
                 (work / "demo.log").string());
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (pid_ > 0 && !fs::exists(env_file_) && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ready_ = pid_ > 0 && fs::exists(env_file_) && ApplyExports(env_file_);
  }
  ~DemoServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  DemoServer(const DemoServer&) = delete;
  DemoServer& operator=(const DemoServer&) = delete;

  bool ready() const { return ready_; }
  std::vector<std::string> Links() const { return ReadLines(links_file_); }
  std::vector<std::string> Urls() const { return ReadLines(urls_file_); }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
  std::string env_file_;
  std::string links_file_;
  std::string urls_file_;
};

// The addresses a collection of the first `products` products fetches, in order:
// the version text, then each product's page up to the next product's page.
std::vector<std::string> UrlsOfFirst(const std::vector<std::string>& urls, int products) {
  std::vector<std::string> chosen;
  int pages = 0;
  for (const std::string& url : urls) {
    if (url.find("/offer/") != std::string::npos && ++pages > products) break;
    chosen.push_back(url);
  }
  return chosen;
}

std::string Joined(const std::vector<std::string>& lines, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < std::min(count, lines.size()); ++i) text += lines[i] + "\n";
  return text;
}

// One curl process fetching every address one after another into files, over the
// same connection seams as the collector.
std::vector<std::string> CurlCommand(const BenchOptions& options,
                                     const std::vector<std::string>& urls, const fs::path& work,
                                     const fs::path& into) {
  std::string config;
  for (std::size_t i = 0; i < urls.size(); ++i) {
    config +=
        "url = \"" + urls[i] + "\"\noutput = \"" + (into / std::to_string(i)).string() + "\"\n";
  }
  const std::string config_file = (work / "curl.config").string();
  WriteWhole(config_file, config);
  std::vector<std::string> command = {options.curl, "--silent", "--show-error", "--cacert",
                                      std::getenv("TESSALY_CA_FILE")};
  std::istringstream entries(std::getenv("TESSALY_CONNECT_TO"));
  for (std::string entry; std::getline(entries, entry, ',');) {
    command.push_back("--connect-to");
    command.push_back(entry);
  }
  command.push_back("--config");
  command.push_back(config_file);
  return command;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Time from the start of `tessaly` on the offscreen platform until its main window
// is shown; the process is then stopped. The app has no switch to quit after
// showing its window, so Qt's own logging marks the moment: the accessibility
// cache records the window when it becomes visible. Runs in `folder`, since the
// app makes its current folder the run directory.
std::optional<double> AppStartSeconds(const std::string& app, const fs::path& folder) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_LOGGING_RULES", "qt.accessibility.cache.debug=true", 1);
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return std::nullopt;
  fcntl(pipe_fds[0], F_SETFD, FD_CLOEXEC);
  const auto start = Clock::now();
  const pid_t child = Spawn({app}, "/dev/null", pipe_fds[1], folder.string());
  close(pipe_fds[1]);
  std::optional<double> seconds;
  std::string seen;
  const auto deadline = start + std::chrono::seconds(30);
  while (child > 0 && !seconds && Clock::now() < deadline) {
    pollfd ready{pipe_fds[0], POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(pipe_fds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(got));
    if (seen.find("role=Window") != std::string::npos) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
  }
  close(pipe_fds[0]);
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  unsetenv("QT_LOGGING_RULES");
  return seconds;
}

bool ParseArguments(int argc, char** argv, BenchOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--quick") {
      options.products = 20;
      options.repeats = 1;
      options.memory_products = {10, 20};
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (name == "--collector") {
      options.collector = value;
    } else if (name == "--demo-server") {
      options.demo_server = value;
    } else if (name == "--app") {
      options.app = value;
    } else if (name == "--curl") {
      options.curl = value;
    } else if (name == "--repeats") {
      options.repeats = std::max(1, std::atoi(value.c_str()));
    } else {
      return false;
    }
  }
  // Absolute, since the app is started in a folder of its own.
  for (std::string* program : {&options.collector, &options.demo_server, &options.app}) {
    if (!program->empty()) *program = fs::absolute(*program).string();
  }
  return !options.collector.empty() && !options.demo_server.empty();
}

void Row(const std::string& what, const std::string& value, const char* target) {
  std::printf("| %-66s | %12s | %-10s |\n", what.c_str(), value.c_str(), target);
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Median wall and CPU times of the collector and of curl over the same requests.
struct Comparison {
  std::string where;
  std::vector<double> collector_seconds{};
  std::vector<double> collector_cpu{};
  std::vector<double> curl_seconds{};
  std::vector<double> curl_cpu{};
};

void PrintComparison(const Comparison& comparison) {
  const double collector = Median(comparison.collector_seconds);
  const double curl = Median(comparison.curl_seconds);
  Row("tessaly-collect, whole run, output " + comparison.where + " (s)", Fixed(collector, 2), "");
  Row("  CPU user + system (s)", Fixed(Median(comparison.collector_cpu), 2), "");
  Row("curl, same requests, one process, output " + comparison.where + " (s)", Fixed(curl, 2), "");
  Row("  CPU user + system (s)", Fixed(Median(comparison.curl_cpu), 2), "");
  Row("ratio tessaly-collect / curl, output " + comparison.where, Fixed(collector / curl, 2),
      "<= 1.25");
}

// A folder on a memory file system, where writing costs no disk: the comparison
// there shows the fetching and the page work alone.
std::optional<fs::path> MemoryFolder() {
  std::error_code error;
  const fs::path shm = "/dev/shm";
  if (!fs::is_directory(shm, error)) return std::nullopt;
  const fs::path folder = shm / ("tessaly-bench-" + std::to_string(getpid()));
  if (!fs::create_directories(folder, error)) return std::nullopt;
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  BenchOptions options;
  if (!ParseArguments(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: collect_bench --collector PATH --demo-server PATH [--app PATH]\n"
                 "                     [--curl PATH] [--repeats N] [--quick]\n");
    return 64;
  }
  signal(SIGPIPE, SIG_IGN);
  std::error_code ignored;
  const fs::path work = fs::temp_directory_path() / ("tessaly-bench-" + std::to_string(getpid()));
  fs::create_directories(work);
  const std::optional<fs::path> memory = MemoryFolder();

  const int largest =
      *std::max_element(options.memory_products.begin(), options.memory_products.end());
  int failures = 0;
  {
    DemoServer server(options, std::max(largest, options.products), work);
    if (!server.ready()) {
      std::fprintf(stderr, "collect_bench: the demo server did not start (see %s)\n",
                   (work / "demo.log").c_str());
      return 1;
    }
    const std::vector<std::string> links = server.Links();
    const std::vector<std::string> urls = server.Urls();

    auto check = [&](const Finished& finished, const char* what, const fs::path& log) {
      if (finished.exit_code == 0) return;
      std::fprintf(stderr, "collect_bench: %s ended with %d (see %s)\n", what, finished.exit_code,
                   log.c_str());
      ++failures;
    };
    auto collect = [&](int products, const fs::path& root) {
      const fs::path run = root / "run";
      fs::remove_all(run, ignored);
      fs::create_directories(run);
      const std::string links_file = (work / "bench-links.txt").string();
      WriteWhole(links_file, Joined(links, static_cast<std::size_t>(products)));
      const fs::path log = work / "collect.log";
      const Finished finished =
          RunTimed({options.collector, "--dir", run.string(), links_file}, log.string());
      check(finished, "tessaly-collect", log);
      fs::remove_all(run, ignored);
      return finished;
    };
    auto fetch_with_curl = [&](int products, const fs::path& root) {
      const fs::path into = root / "curl";
      fs::remove_all(into, ignored);
      fs::create_directories(into);
      const fs::path log = work / "curl.log";
      const Finished finished =
          RunTimed(CurlCommand(options, UrlsOfFirst(urls, products), work, into), log.string());
      check(finished, "curl", log);
      fs::remove_all(into, ignored);
      return finished;
    };

    // Warm the page cache and the server once before timing.
    collect(std::min(5, options.products), work);

    std::vector<Comparison> comparisons = {{"on disk"}};
    if (memory) comparisons.push_back({"in memory (tmpfs)"});
    long peak_at_timed = 0;
    for (int round = 0; round < options.repeats; ++round) {
      for (Comparison& comparison : comparisons) {
        const fs::path root = comparison.where == "on disk" ? work : *memory;
        const Finished collector = collect(options.products, root);
        comparison.collector_seconds.push_back(collector.seconds);
        comparison.collector_cpu.push_back(collector.cpu_seconds);
        peak_at_timed = std::max(peak_at_timed, collector.peak_kb);
        const Finished curl = fetch_with_curl(options.products, root);
        comparison.curl_seconds.push_back(curl.seconds);
        comparison.curl_cpu.push_back(curl.cpu_seconds);
      }
    }

    std::vector<std::pair<int, long>> peaks;
    for (int products : options.memory_products) {
      peaks.emplace_back(products, products == options.products
                                       ? peak_at_timed
                                       : collect(products, memory ? *memory : work).peak_kb);
    }

    std::vector<double> help_seconds;
    for (int i = 0; i < 20; ++i) {
      help_seconds.push_back(
          RunTimed({options.collector, "--help"}, (work / "help.log").string()).seconds);
    }
    std::vector<double> app_seconds;
    if (!options.app.empty()) {
      const fs::path folder = work / "app";
      fs::create_directories(folder);
      for (int i = 0; i < 5; ++i) {
        if (const auto seconds = AppStartSeconds(options.app, folder)) {
          app_seconds.push_back(*seconds);
        }
      }
    }

    const std::size_t requests = UrlsOfFirst(urls, options.products).size();
    const double megabytes =
        options.products * (options.page_kb + options.images * options.image_kb) / 1024.0;
    std::printf(
        "\nTessaly benchmarks: %d products x %d pictures of %d KB, pages of %d KB, "
        "HTTPS on loopback\n(%zu requests, about %.0f MB; median of %d rounds; %u cores)\n\n",
        options.products, options.images, options.image_kb, options.page_kb, requests, megabytes,
        options.repeats, std::thread::hardware_concurrency());
    std::printf("| %-66s | %12s | %-10s |\n", "figure", "value", "target");
    std::printf("|%s|%s|%s|\n", std::string(68, '-').c_str(), std::string(14, '-').c_str(),
                std::string(12, '-').c_str());
    for (const Comparison& comparison : comparisons) PrintComparison(comparison);
    for (const auto& [products, peak_kb] : peaks) {
      Row("peak resident memory of tessaly-collect, " + std::to_string(products) + " products (MB)",
          Fixed(peak_kb / 1024.0, 1), "< 64, flat");
    }
    Row("start-up, tessaly-collect --help (ms, median of 20)",
        Fixed(Median(help_seconds) * 1000, 1), "");
    if (!options.app.empty()) {
      Row("start-up, tessaly to its shown window, offscreen (ms, median of 5)",
          app_seconds.empty() ? "not measured" : Fixed(Median(app_seconds) * 1000, 1), "");
    }
  }
  fs::remove_all(work, ignored);
  if (memory) fs::remove_all(*memory, ignored);
  return failures == 0 ? 0 : 1;
}
