#include "text/desktop.h"

#include <atomic>

namespace tessaly {
namespace {
std::atomic<Desktop*> installed_desktop{nullptr};
}  // namespace

void InstallDesktop(Desktop* desktop) { installed_desktop.store(desktop); }

Desktop* InstalledDesktop() { return installed_desktop.load(); }

int ShowMessage(const Text& message, int style, const Text& caption) {
  Desktop* desktop = InstalledDesktop();
  return desktop ? desktop->ShowMessage(message, style, caption) : 0;
}

void ProcessEvents() {
  if (Desktop* desktop = InstalledDesktop()) desktop->ProcessEvents();
}

void OpenUrl(const Text& address) {
  if (Desktop* desktop = InstalledDesktop()) desktop->OpenUrl(address);
}

void ShellOpen(const Text& path) {
  if (Desktop* desktop = InstalledDesktop()) desktop->ShellOpen(path);
}

}  // namespace tessaly
