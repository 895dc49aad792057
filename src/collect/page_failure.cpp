#include "collect/page_failure.h"

#include "text/text_primitives.h"

namespace tessaly {

void ReportPageFailure(WindowOperations& window, const Text& address, const Text& status,
                       bool complete) {
  // The status is an HTTP status code with its reason, or a numbered failure of
  // the request (700 and up): both read as a number from 400 up when the page did
  // not come.
  const bool failed = ToInteger(status) >= 400;
  if (failed || !complete) window.PageFailed(address, status, !failed);
}

}  // namespace tessaly
