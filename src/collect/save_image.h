#pragma once

#include "collect/run_state.h"
#include "text/text.h"

namespace tessaly {

// Downloads `address` and writes it to `path`, replacing the file whole, then tells
// the window what became of it. An error page is never stored under a picture's
// name. A picture that does not arrive whole (no answer, an HTTP error status, cut
// off mid-way) leaves the earlier picture where one is worth keeping: a non-empty
// file from before the run, or the very same picture this run already saved there.
// A file this run wrote for another product is replaced, as the picture it holds
// belongs to that product: by a file of length 0 where nothing arrived, so the user
// sees which picture is missing, or by the part of a picture cut off.
void SaveImage(RunState& state, const Text& address, const Text& path);

}  // namespace tessaly
