#pragma once

#include "collect/run_state.h"
#include "text/text.h"

namespace tessaly {

// RunDirectory + "/" + CategoryFolder + ProductFolderName. With an empty folder
// name this is the category folder itself (with a trailing separator).
Text ProductFolder(const RunState& state);

// ProductFolder + "/" + `name`, made (one level) when missing; the result of making
// it is not looked at, as a write into a missing folder fails on its own.
Text PrepareImageFolder(const RunState& state, const Text& name);

}  // namespace tessaly
