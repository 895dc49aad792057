// tessaly-collect: the app's collection run without a window.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include "text/wide_text.h"
#endif

#include "cli/console.h"
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
  WriteText(stderr, "tessaly-collect: " + message + "\n");
  if (code == kExitUsage) WriteText(stderr, "Try 'tessaly-collect --help'.\n");
  return code;
}

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A placeholder or a kept file is no picture of this run, and a folder is named
// only where it exists.
std::string Summary(const TerminalWindow::Tally& tally, const Options& options,
                    const std::string& run_directory) {
  std::string summary = Counted(tally.saved, "image", "images") + " saved";
  if (tally.cut_off > 0) summary += " (" + std::to_string(tally.cut_off) + " of them cut off)";
  summary += ", " + Counted(tally.placeholders, "empty placeholder", "empty placeholders") + ", " +
             Counted(tally.kept, "earlier file", "earlier files") + " kept; ";
  const std::string category = options.category.empty() ? "阿里巴巴" : options.category;
  const std::string folder = run_directory + PathSeparator() + category;
  std::error_code ignored;
  if (std::filesystem::is_directory(PathFromUtf8(folder), ignored))
    return summary + "the products are in " + folder;
  return summary + "the output folder could not be made";
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
      (options.links_file.empty() || options.links_file == "-") && IsTerminal(stdin);
  if (links_from_terminal) {
    WriteText(stderr, std::string("Paste the links, then press ") + EndOfInputKey() + ".\n");
  }
  Text links;
  if (!ReadLinks(options.links_file, links, error)) return Fail(kExitNoInput, error);

  ProgressDisplay display(stdout, stderr, IsTerminal(stdout));
  if (created) display.Note("created the run directory " + run_directory);
  TerminalWindow window(options, std::move(links), display);
  InstallDesktop(&window);
  const RunEnd end = CollectionRun(window);
  InstallDesktop(nullptr);

  const TerminalWindow::Tally& tally = window.tally();
  if (end == RunEnd::kFinished) display.Note(Summary(tally, options, run_directory));
  return ExitCodeFor(end, tally.failures > 0);
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

#ifdef _WIN32
// The arguments as the system holds them, in UTF-16: a path with Chinese characters
// arrives whole whatever the ANSI code page is.
int wmain(int argc, wchar_t** argv) {
  tessaly::cli::InitializeConsole();
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(tessaly::WideToUtf8(argv[i]));
  return tessaly::cli::Main(arguments);
}
#else
int main(int argc, char** argv) {
  tessaly::cli::InitializeConsole();
  return tessaly::cli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
