#include "support/fake_window.h"

#include <algorithm>

#include "text/gbk.h"

namespace tessaly::testing {
namespace {

// Paths as the tests write them, with "/" between folders on either system (a
// backslash in UTF-8 is always a separator, never part of a character).
std::string ShownPath(const Text& path) {
  std::string shown = GbkToUtf8(path);
#ifdef _WIN32
  std::replace(shown.begin(), shown.end(), '\\', '/');
#endif
  return shown;
}

}  // namespace

Text FakeWindow::LinkText() {
  Record("links");
  return Utf8ToGbk(links);
}

Text FakeWindow::CategoryText() {
  Record("category");
  return Utf8ToGbk(category);
}

bool FakeWindow::IsTicked(CheckBox box) {
  Record("read:" + std::to_string(static_cast<int>(box)));
  if (on_read_box) on_read_box(box);
  return ticked[static_cast<int>(box)];
}

void FakeWindow::SetStatus(const Text& caption) { Record("status:" + GbkToUtf8(caption)); }

void FakeWindow::SetStartEnabled(bool enabled) {
  {
    std::lock_guard guard(lock_);
    start_enabled_ = enabled;
  }
  Record(enabled ? "enabled:1" : "enabled:0");
}

void FakeWindow::OpenSettingsWindow() {
  Record("settings");
  if (on_settings_window) on_settings_window();
}

int FakeWindow::ShowMessage(const Text& message, int /*style*/, const Text& caption) {
  Record("message:" + GbkToUtf8(caption) + "|" + GbkToUtf8(message));
  return 1;
}

void FakeWindow::OpenUrl(const Text& address) { Record("url:" + GbkToUtf8(address)); }

void FakeWindow::ShellOpen(const Text& path) { Record("open:" + ShownPath(path)); }

void FakeWindow::ImageSaved(const Text& path) { Record("image:" + ShownPath(path)); }

void FakeWindow::PictureFailed(const PictureFailure& failure) {
  using What = PictureFailure::What;
  using Outcome = PictureFailure::Outcome;
  const std::string what = failure.what == What::kNoAnswer ? "no answer"
                           : failure.what == What::kCutOff
                               ? "cut off"
                               : "HTTP " + std::to_string(failure.httpStatus);
  const char* outcome = failure.outcome == Outcome::kKeptEarlier   ? "kept"
                        : failure.outcome == Outcome::kPlaceholder ? "placeholder"
                        : failure.outcome == Outcome::kPartSaved   ? "part"
                                                                   : "not written";
  Record("picture-failed:" + GbkToUtf8(failure.address) + "|" + ShownPath(failure.path) + "|" +
         what + "|" + outcome);
}

void FakeWindow::PageFailed(const Text& address, const Text& statusText, bool cutOff) {
  Record("page-failed:" + GbkToUtf8(address) + "|" + GbkToUtf8(statusText) +
         (cutOff ? "|cut off" : ""));
}

std::vector<std::string> FakeWindow::Events() const {
  std::lock_guard guard(lock_);
  return events_;
}

std::vector<std::string> FakeWindow::Statuses() const {
  std::vector<std::string> statuses;
  for (const std::string& event : Events()) {
    if (event.rfind("status:", 0) == 0) statuses.push_back(event.substr(7));
  }
  return statuses;
}

std::vector<std::string> FakeWindow::EventsOf(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& event : Events()) {
    if (event.rfind(prefix, 0) == 0) found.push_back(event);
  }
  return found;
}

bool FakeWindow::start_enabled() const {
  std::lock_guard guard(lock_);
  return start_enabled_;
}

void FakeWindow::Record(std::string event) {
  std::lock_guard guard(lock_);
  events_.push_back(std::move(event));
}

}  // namespace tessaly::testing
