#pragma once

#include "text/text.h"

// The desktop operations of the primitives: message boxes, the dispatch of pending
// events, opening an address in the browser and a folder in the file manager. The
// Qt application, the headless collector and tests each install their own; with
// none installed every operation is silent, as a failure of the desktop would be.
namespace tessaly {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Task-modal box with one OK button; caption empty means "信息：".
  virtual int ShowMessage(const Text& message, int style, const Text& caption) = 0;
  // Dispatches what is pending for the calling thread and returns when nothing is.
  virtual void ProcessEvents() = 0;
  virtual void OpenUrl(const Text& address) = 0;
  virtual void ShellOpen(const Text& path) = 0;
};

// Process-wide; the caller keeps ownership. Pass nullptr to uninstall.
void InstallDesktop(Desktop* desktop);
Desktop* InstalledDesktop();

int ShowMessage(const Text& message, int style = 0, const Text& caption = {});
void ProcessEvents();
void OpenUrl(const Text& address);
void ShellOpen(const Text& path);

}  // namespace tessaly
