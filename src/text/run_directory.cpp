// The process-wide state of the file primitives, the same on every system: the
// run directory a front end chose, and the write-fault seam of the tests.
#include <functional>
#include <mutex>
#include <optional>

#include "text/file_primitives.h"
#include "text/file_system_edge.h"

namespace tessaly {
namespace {

std::mutex run_directory_mutex;
std::optional<Text> run_directory_override;

std::mutex write_fault_mutex;
std::function<bool(const Text&)> write_fault;

}  // namespace

Text GetRunDirectory() {
  static const Text program_folder = detail::ProgramFolder();
  std::lock_guard lock(run_directory_mutex);
  return run_directory_override ? *run_directory_override : program_folder;
}

void SetRunDirectory(const Text& path) {
  std::lock_guard lock(run_directory_mutex);
  run_directory_override = detail::WithoutTrailingSeparator(path);
}

void SetWriteFaultForTesting(std::function<bool(const Text& path)> fault) {
  std::lock_guard lock(write_fault_mutex);
  write_fault = std::move(fault);
}

bool detail::InjectedWriteFault(const Text& path) {
  std::lock_guard lock(write_fault_mutex);
  return write_fault && write_fault(path);
}

}  // namespace tessaly
