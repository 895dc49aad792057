#pragma once

#include "cli/options.h"
#include "cli/progress_display.h"
#include "collect/window_operations.h"

namespace tessaly::cli {

// The main window as the collector plays it: the controls hold what the command
// line said, status texts go to the progress display, message boxes and the
// settings window become notes on standard error, and nothing is ever launched.
// Every call comes from the run on the main thread.
class TerminalWindow : public WindowOperations {
 public:
  TerminalWindow(const Options& options, Text links, ProgressDisplay& display);

  Text LinkText() override;
  Text CategoryText() override;
  bool IsTicked(CheckBox box) override;
  void SetStatus(const Text& caption) override;
  void SetStartEnabled(bool enabled) override;
  void OpenSettingsWindow() override;
  void ImageSaved(const Text& path) override;

  int ShowMessage(const Text& message, int style, const Text& caption) override;
  void ProcessEvents() override;
  void OpenUrl(const Text& address) override;
  void ShellOpen(const Text& path) override;

 private:
  const Options& options_;
  Text links_;
  ProgressDisplay& display_;
};

}  // namespace tessaly::cli
