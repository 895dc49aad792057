#pragma once

#include <functional>

namespace tessaly {

// Starts the routine on a new thread that nobody waits for. True when the thread
// was created.
bool StartThread(std::function<void()> routine);

}  // namespace tessaly
