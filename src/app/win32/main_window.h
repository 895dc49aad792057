#pragma once

#include "app/win32/desktop.h"
#include "app/win32/table_window.h"
#include "collect/window_operations.h"

namespace tessaly::win32 {

// The program's long-lived window, and the collection run's view of it. The run's worker
// thread reads and writes the controls with window messages, which the system carries to
// this window's thread and waits for; its message boxes and its settings window belong
// to the worker thread itself and block only the worker.
class MainWindow : public TableWindow, public WindowOperations {
 public:
  MainWindow();

  Text LinkText() override;
  Text CategoryText() override;
  bool IsTicked(CheckBox box) override;
  void SetStatus(const Text& caption) override;
  void SetStartEnabled(bool enabled) override;
  void OpenSettingsWindow() override;

  int ShowMessage(const Text& message, int style, const Text& caption) override {
    return desktop_.ShowMessage(message, style, caption);
  }
  void ProcessEvents() override { desktop_.ProcessEvents(); }
  void OpenUrl(const Text& address) override { desktop_.OpenUrl(address); }
  void ShellOpen(const Text& path) override { desktop_.ShellOpen(path); }

 protected:
  void OnCreated() override;
  void OnAction(ui::Action action) override;
  // Closing the window ends the message loop, and with it the program.
  void OnDestroyed() override;

 private:
  Win32Desktop desktop_;
};

}  // namespace tessaly::win32
