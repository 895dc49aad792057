#pragma once

#include "collect/window_operations.h"
#include "text/text.h"

namespace tessaly {

// Tells the window when a page request did not bring the whole page: `status` is
// the request's status out-value, `complete` its completeness out-value.
void ReportPageFailure(WindowOperations& window, const Text& address, const Text& status,
                       bool complete);

}  // namespace tessaly
