#pragma once

#include "app/qt/qt_desktop.h"
#include "collect/window_operations.h"

namespace tessaly {

class MainWindow;

// The collection run's view of MainWindow. Called from the run's worker thread, each
// read and write is carried to the user-interface thread and waited for, so a read
// sees the control's value at that moment and a status text shows at once and in
// order while the run goes on. On the user-interface thread the calls are direct.
class QtWindowOperations : public WindowOperations {
 public:
  explicit QtWindowOperations(MainWindow& window) : window_(window) {}

  Text LinkText() override;
  Text CategoryText() override;
  bool IsTicked(CheckBox box) override;
  void SetStatus(const Text& caption) override;
  void SetStartEnabled(bool enabled) override;
  // A fresh SettingsWindow; from the worker it blocks only the worker.
  void OpenSettingsWindow() override;

  int ShowMessage(const Text& message, int style, const Text& caption) override {
    return desktop_.ShowMessage(message, style, caption);
  }
  void ProcessEvents() override { desktop_.ProcessEvents(); }
  void OpenUrl(const Text& address) override { desktop_.OpenUrl(address); }
  void ShellOpen(const Text& path) override { desktop_.ShellOpen(path); }

 private:
  MainWindow& window_;
  QtDesktop desktop_;
};

}  // namespace tessaly
