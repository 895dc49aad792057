#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tessaly::cli {

// The command line, as typed (UTF-8).
struct Options {
  std::string links_file;  // empty or "-": standard input
  std::string category;    // empty: the run's default category folder
  bool main_images = true;
  bool sku_images = true;
  bool description_images = true;
  bool product_info = true;
  std::string run_directory;  // empty: the current folder
  std::string cookie_file;    // empty: the run directory's cookie file
  bool help = false;
};

struct ParsedOptions {
  Options options;
  std::string error;  // set when the command line is unusable
};

// `arguments` without the program name. Accepts "--name value" and "--name=value";
// "--" ends the options.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

void PrintUsage(std::FILE* out);

}  // namespace tessaly::cli
