#pragma once

#include "text/desktop.h"

namespace tessaly {

// The desktop operations over Qt and the application's DesktopServices, callable from
// any thread. A box opened from a worker thread shows on the user-interface thread
// and blocks only the worker; one opened on the user-interface thread is modal.
class QtDesktop : public Desktop {
 public:
  // Always 1, the OK button: every box has that one button.
  int ShowMessage(const Text& message, int style, const Text& caption) override;
  // Dispatches the user-interface thread's pending events; on any other thread there
  // is nothing of ours to dispatch, so it returns at once.
  void ProcessEvents() override;
  void OpenUrl(const Text& address) override;
  void ShellOpen(const Text& path) override;
};

}  // namespace tessaly
