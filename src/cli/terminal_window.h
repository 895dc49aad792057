#pragma once

#include "cli/options.h"
#include "cli/progress_display.h"
#include "collect/window_operations.h"

namespace tessaly::cli {

// The main window as the collector plays it: the controls hold what the command
// line said, status texts go to the progress display, message boxes and the
// settings window become notes on standard error, as does every page or picture
// that did not arrive whole, and nothing is ever launched.
// Every call comes from the run on the main thread.
class TerminalWindow : public WindowOperations {
 public:
  // What became of the run's pictures and pages, for the closing summary.
  struct Tally {
    int saved = 0;  // pictures written, the parts of cut-off ones included
    int cut_off = 0;
    int placeholders = 0;
    int kept = 0;
    int failures = 0;  // pages and pictures that did not arrive whole
  };

  TerminalWindow(const Options& options, Text links, ProgressDisplay& display);

  Text LinkText() override;
  Text CategoryText() override;
  bool IsTicked(CheckBox box) override;
  void SetStatus(const Text& caption) override;
  void SetStartEnabled(bool enabled) override;
  void OpenSettingsWindow() override;
  void ImageSaved(const Text& path) override;
  void PictureFailed(const PictureFailure& failure) override;
  void PageFailed(const Text& address, const Text& statusText, bool cutOff) override;

  int ShowMessage(const Text& message, int style, const Text& caption) override;
  void ProcessEvents() override;
  void OpenUrl(const Text& address) override;
  void ShellOpen(const Text& path) override;

  const Tally& tally() const { return tally_; }

 private:
  const Options& options_;
  Text links_;
  ProgressDisplay& display_;
  Tally tally_;
};

}  // namespace tessaly::cli
