#pragma once

#include "text/desktop.h"
#include "text/text.h"

namespace tessaly::win32 {

// A standard message box with the style given (every caller gives 0: one OK button, no
// icon), no owner window, and the default caption when `caption` is empty. It is
// task-modal: while it shows, the top-level windows of the calling thread take no
// input; from the worker thread, which has none, it blocks only the worker.
int ShowMessageBox(const Text& message, int style, const Text& caption);
// The shell's "open" verb, window shown normally: a folder opens in the file manager,
// an address in the default browser. A failure passes silently.
void OpenWithShell(const Text& target);

// The desktop operations of the core on Windows; callable from any thread.
class Win32Desktop : public Desktop {
 public:
  int ShowMessage(const Text& message, int style, const Text& caption) override {
    return ShowMessageBox(message, style, caption);
  }
  void ProcessEvents() override;
  void OpenUrl(const Text& address) override { OpenWithShell(address); }
  void ShellOpen(const Text& path) override { OpenWithShell(path); }
};

}  // namespace tessaly::win32
