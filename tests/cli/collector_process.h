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

// Whether the collector under test is the Windows program under Wine
// (TESSALY_TEST_COLLECTOR_SYSTEM=windows, set by the Windows build's tests).
bool WindowsCollector();

// A path the test made, in the form the collector under test prints it: as it
// is, or for the Windows program the way Wine shows the Linux file system to it,
// drive Z: with backslashes.
std::string ShownPath(const std::string& path);

}  // namespace tessaly::testing
