#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "collect/window_operations.h"

namespace tessaly::testing {

// A main window without a display: the run reads the controls from it and every
// operation the run performs is recorded, in order, as a line of UTF-8 text.
class FakeWindow : public WindowOperations {
 public:
  // Control values, as a user would set them (UTF-8; converted to GBK for the run).
  std::string links;
  std::string category;
  bool ticked[5] = {false, true, true, true, true};  // index by CheckBox value

  // Called with each box as the run reads it (to change boxes during a run).
  std::function<void(CheckBox)> on_read_box;
  // Called when the run opens the settings window; returns when "closed".
  std::function<void()> on_settings_window;

  Text LinkText() override;
  Text CategoryText() override;
  bool IsTicked(CheckBox box) override;
  void SetStatus(const Text& caption) override;
  void SetStartEnabled(bool enabled) override;
  void OpenSettingsWindow() override;
  int ShowMessage(const Text& message, int style, const Text& caption) override;
  void ProcessEvents() override {}
  void OpenUrl(const Text& address) override;
  void ShellOpen(const Text& path) override;
  void ImageSaved(const Text& path) override;
  void PictureFailed(const PictureFailure& failure) override;
  void PageFailed(const Text& address, const Text& statusText, bool cutOff) override;

  // What happened, in order: "status:<text>", "enabled:<0|1>", "settings",
  // "message:<caption>|<text>", "url:<address>", "open:<path>", "read:<n>" (box reads),
  // "category", "links", "image:<path>",
  // "picture-failed:<address>|<path>|<what>|<outcome>" (what: "no answer", "cut off"
  // or "HTTP <status>"; outcome: "kept", "placeholder", "part" or "not written"),
  // "page-failed:<address>|<status text>" (with "|cut off" when it broke off).
  std::vector<std::string> Events() const;
  std::vector<std::string> Statuses() const;
  // The events that start with `prefix` ("image:", "picture-failed:", …), in order.
  std::vector<std::string> EventsOf(const std::string& prefix) const;
  bool start_enabled() const;

 private:
  void Record(std::string event);
  mutable std::mutex lock_;
  std::vector<std::string> events_;
  bool start_enabled_ = true;
};

}  // namespace tessaly::testing
