#pragma once

#include <string>
#include <vector>

// Runs the tessaly-collect binary the tests were built with (or the executable that
// TESSALY_TEST_COLLECTOR names instead), in the test's environment (so the
// marketplace seams reach it), and collects what it printed.
namespace tessaly::testing {

struct CollectorCall {
  std::vector<std::string> arguments{};
  std::string input{};              // standard input
  std::string working_directory{};  // empty: the test's own
  bool terminal = false;            // standard output on a pseudo-terminal
};

struct CollectorResult {
  int exit_code = -1;  // -1: killed by a signal or by the time-out
  std::string out;
  std::string err;
  // Standard output split at line breaks, without them.
  std::vector<std::string> OutLines() const;
};

CollectorResult RunCollector(const CollectorCall& call);

}  // namespace tessaly::testing
