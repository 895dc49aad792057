#pragma once

#include "collect/collection_run.h"

namespace tessaly::cli {

// The process's exit codes; scripts tell the run's endings apart by them. 64 and
// 66 are the sysexits.h values for bad usage and unusable input.
enum ExitCode : int {
  kExitFinished = 0,
  kExitNoProductId = 1,
  kExitVersionGate = 2,
  kExitAntiScraping = 3,
  kExitIncomplete = 4,  // finished, but a page or a picture did not arrive
  kExitUsage = 64,
  kExitNoInput = 66,
};

// `incomplete`: some page or picture of the run did not arrive whole.
constexpr int ExitCodeFor(RunEnd end, bool incomplete) {
  switch (end) {
    case RunEnd::kFinished:
      return incomplete ? kExitIncomplete : kExitFinished;
    case RunEnd::kNoProductId:
      return kExitNoProductId;
    case RunEnd::kVersionGate:
      return kExitVersionGate;
    case RunEnd::kAntiScraping:
      return kExitAntiScraping;
  }
  return kExitFinished;
}

}  // namespace tessaly::cli
