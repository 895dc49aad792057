#include "cli/options.h"

#include <string_view>

#include "cli/console.h"

namespace tessaly::cli {
namespace {

constexpr char kUsage[] =
    "Usage: tessaly-collect [options] [LINKS_FILE]\n"
    "\n"
    "Collects the products whose links (…/offer/<12 digits>.html) appear in LINKS_FILE,\n"
    "or on standard input when LINKS_FILE is absent or \"-\", exactly as the app's\n"
    "start button does. Links are read as UTF-8; any text around them is ignored.\n"
    "\n"
    "Options:\n"
    "  --category NAME  category folder for this run (default: 阿里巴巴)\n"
    "  --no-main        do not collect main images (主图)\n"
    "  --no-sku         do not collect SKU images (SKU图)\n"
    "  --no-desc        do not collect description images (描述图/详情图)\n"
    "  --no-info        do not write the product information file\n"
    "  --dir DIR        run directory: the output tree and the cookie file\n"
    "                   (default: the current folder; created when missing)\n"
    "  --cookies FILE   read the cookie header value from FILE instead of\n"
    "                   DIR/阿里cookies.txt\n"
    "  -h, --help       show this help\n"
    "\n"
    "Status texts go to standard output, one per line; message boxes and notes to\n"
    "standard error, with one line for every page or picture that could not be\n"
    "fetched. Nothing is ever opened in a browser or a file manager.\n"
    "\n"
    "Exit codes:\n"
    "  0   finished (下载完毕)\n"
    "  1   no product ID found in the links (未检测到宝贝ID)\n"
    "  2   stopped by the version gate (network problem or a newer version)\n"
    "  3   stopped by the anti-scraping wall: update the cookie file, run again\n"
    "  4   finished (下载完毕), but some page or picture could not be fetched\n"
    "  64  bad usage\n"
    "  66  an input file or the run directory cannot be used\n"
    "\n"
    "Environment (loopback tests and the demo marketplace):\n"
    "  TESSALY_CONNECT_TO  comma-separated HOST:PORT:ADDRESS:PORT entries (curl's\n"
    "                      --connect-to form; HOST may be empty for any host): the\n"
    "                      addresses stay real, the connections go there instead\n"
    "  TESSALY_CA_FILE     PEM certificates trusted instead of the system's\n";

// Options that take a value, and where the value goes.
std::string* ValueTarget(Options& options, std::string_view name) {
  if (name == "--category") return &options.category;
  if (name == "--dir") return &options.run_directory;
  if (name == "--cookies") return &options.cookie_file;
  return nullptr;
}

bool* SwitchTarget(Options& options, std::string_view name) {
  if (name == "--no-main") return &options.main_images;
  if (name == "--no-sku") return &options.sku_images;
  if (name == "--no-desc") return &options.description_images;
  if (name == "--no-info") return &options.product_info;
  return nullptr;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  Options& options = parsed.options;
  bool links_file_seen = false;
  bool options_ended = false;

  auto positional = [&](const std::string& argument) {
    if (links_file_seen) {
      parsed.error = "only one links file can be given (also \"" + argument + "\")";
      return;
    }
    links_file_seen = true;
    options.links_file = argument;
  };

  for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument == "-" || argument.rfind("-", 0) != 0) {
      positional(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    if (argument == "-h" || argument == "--help") {
      options.help = true;
      continue;
    }

    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (bool* flag = SwitchTarget(options, name)) {
      if (equals != std::string::npos) {
        parsed.error = "option " + name + " takes no value";
      } else {
        *flag = false;
      }
      continue;
    }
    std::string* target = ValueTarget(options, name);
    if (target == nullptr) {
      parsed.error = "unknown option " + name;
      continue;
    }
    if (equals != std::string::npos) {
      *target = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      *target = arguments[++i];
    } else {
      parsed.error = "option " + name + " needs a value";
      continue;
    }
    if (target != &options.category && target->empty()) {
      parsed.error = "option " + name + " needs a non-empty value";
    }
  }
  return parsed;
}

void PrintUsage(std::FILE* out) { WriteText(out, kUsage); }

}  // namespace tessaly::cli
