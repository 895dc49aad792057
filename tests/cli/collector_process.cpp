#include "collector_process.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

extern char** environ;

namespace tessaly::testing {
namespace {

// A hung collector must fail its test, not the whole test run.
constexpr auto kTimeOut = std::chrono::seconds(60);

class SpawnActions {
 public:
  SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// Reads what the terminal side has for us: the bytes read, 0 when nothing came
// within `wait_ms`, -1 once the collector's side is closed.
int DrainTerminal(int master, std::string& out, int wait_ms) {
  pollfd ready{master, POLLIN, 0};
  if (::poll(&ready, 1, wait_ms) <= 0) return 0;
  char buffer[4096];
  const ssize_t got = ::read(master, buffer, sizeof buffer);
  if (got <= 0) return -1;
  out.append(buffer, static_cast<std::size_t>(got));
  return static_cast<int>(got);
}

// TESSALY_TEST_COLLECTOR names an executable run in place of the built collector
// (a wrapper that starts it another way, on another system); it gets the same
// arguments, input and environment.
std::string CollectorCommand() {
  const char* chosen = std::getenv("TESSALY_TEST_COLLECTOR");
  return chosen != nullptr && *chosen != '\0' ? std::string(chosen)
                                              : std::string(TESSALY_COLLECT_BINARY);
}

}  // namespace

bool WindowsCollector() {
  const char* system = std::getenv("TESSALY_TEST_COLLECTOR_SYSTEM");
  return system != nullptr && std::string(system) == "windows";
}

std::string ShownPath(const std::string& path) {
  if (!WindowsCollector() || path.empty() || path.front() != '/') return path;
  std::string shown = "Z:" + path;
  std::replace(shown.begin(), shown.end(), '/', '\\');
  return shown;
}

std::vector<std::string> CollectorResult::OutLines() const {
  std::vector<std::string> lines;
  std::istringstream stream(out);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

CollectorResult RunCollector(const CollectorCall& call) {
  TempDir io;
  const std::string input = io.Join("stdin");
  const std::string output = io.Join("stdout");
  const std::string errors = io.Join("stderr");
  WriteNativeFile(input, call.input);

  int master = -1;
  int slave = -1;
  if (call.terminal && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {};

  SpawnActions actions;
  ::posix_spawn_file_actions_addopen(actions.get(), 0, input.c_str(), O_RDONLY, 0);
  if (call.terminal) {
    ::posix_spawn_file_actions_adddup2(actions.get(), slave, 1);
    ::posix_spawn_file_actions_addclose(actions.get(), master);
    ::posix_spawn_file_actions_addclose(actions.get(), slave);
  } else {
    ::posix_spawn_file_actions_addopen(actions.get(), 1, output.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  ::posix_spawn_file_actions_addopen(actions.get(), 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  if (!call.working_directory.empty()) {
    ::posix_spawn_file_actions_addchdir_np(actions.get(), call.working_directory.c_str());
  }

  std::vector<std::string> arguments{CollectorCommand()};
  arguments.insert(arguments.end(), call.arguments.begin(), call.arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  CollectorResult result;
  pid_t child = -1;
  const int spawned = ::posix_spawn(&child, argv[0], actions.get(), nullptr, argv.data(), environ);
  if (slave >= 0) ::close(slave);
  if (spawned != 0) {
    if (master >= 0) ::close(master);
    return result;
  }

  const auto deadline = std::chrono::steady_clock::now() + kTimeOut;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      break;
    }
    if (master >= 0) {
      DrainTerminal(master, result.out, 10);
    } else {
      ::usleep(5000);
    }
  }
  if (master >= 0) {
    while (DrainTerminal(master, result.out, 100) > 0) {
    }
    ::close(master);
  } else {
    result.out = ReadNativeFile(output);
  }
  result.err = ReadNativeFile(errors);
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

}  // namespace tessaly::testing
