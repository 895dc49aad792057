#include "text/start_thread.h"

#include <system_error>
#include <thread>

namespace tessaly {

bool StartThread(std::function<void()> routine) {
  try {
    std::thread(std::move(routine)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace tessaly
