// tessaly-collect: the app's collection run without a window.
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/exit_codes.h"
#include "cli/options.h"
#include "cli/progress_display.h"
#include "cli/run_inputs.h"
#include "cli/terminal_window.h"
#include "collect/collection_run.h"
#include "text/desktop.h"

namespace tessaly::cli {
namespace {

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "tessaly-collect: %s\n", message.c_str());
  if (code == kExitUsage) std::fputs("Try 'tessaly-collect --help'.\n", stderr);
  return code;
}

// Every input is checked before the run starts, so a run never begins on
// something it cannot use and nothing is fetched in vain.
int Collect(const Options& options) {
  if (!FitsGbk(options.category)) {
    return Fail(kExitUsage,
                "--category: the name has characters the run cannot use in folder "
                "names (outside GBK)");
  }
  std::string error;
  std::string run_directory;
  bool created = false;
  if (!UseRunDirectory(options.run_directory, run_directory, created, error)) {
    return Fail(kExitNoInput, error);
  }
  if (!options.cookie_file.empty() && !UseCookieFile(options.cookie_file, error)) {
    return Fail(kExitNoInput, error);
  }
  const bool links_from_terminal =
      (options.links_file.empty() || options.links_file == "-") && ::isatty(STDIN_FILENO);
  if (links_from_terminal) std::fputs("Paste the links, then press Ctrl-D.\n", stderr);
  Text links;
  if (!ReadLinks(options.links_file, links, error)) return Fail(kExitNoInput, error);

  ProgressDisplay display(stdout, stderr, ::isatty(STDOUT_FILENO) == 1);
  if (created) display.Note("created the run directory " + run_directory);
  TerminalWindow window(options, std::move(links), display);
  InstallDesktop(&window);
  const RunEnd end = CollectionRun(window);
  InstallDesktop(nullptr);

  if (end == RunEnd::kFinished) {
    const std::string category = options.category.empty() ? "阿里巴巴" : options.category;
    display.Note(std::to_string(display.images_saved()) + " images saved; the products are in " +
                 run_directory + "/" + category);
  }
  return ExitCodeFor(end);
}

int Main(const std::vector<std::string>& arguments) {
  const ParsedOptions parsed = ParseOptions(arguments);
  if (!parsed.error.empty()) return Fail(kExitUsage, parsed.error);
  if (parsed.options.help) {
    PrintUsage(stdout);
    return kExitFinished;
  }
  return Collect(parsed.options);
}

}  // namespace
}  // namespace tessaly::cli

int main(int argc, char** argv) {
  return tessaly::cli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
