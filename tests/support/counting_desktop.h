#pragma once

#include "text/desktop.h"

namespace tessaly::testing {

// A desktop that counts the dispatches of pending events, installed for its
// lifetime (and uninstalled however the test leaves).
class CountingDesktop : public Desktop {
 public:
  CountingDesktop() { InstallDesktop(this); }
  ~CountingDesktop() override { InstallDesktop(nullptr); }
  CountingDesktop(const CountingDesktop&) = delete;
  CountingDesktop& operator=(const CountingDesktop&) = delete;

  int ShowMessage(const Text&, int, const Text&) override { return 0; }
  void ProcessEvents() override { ++events; }
  void OpenUrl(const Text&) override {}
  void ShellOpen(const Text&) override {}

  int events = 0;
};

}  // namespace tessaly::testing
