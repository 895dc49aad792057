#include "cli/terminal_window.h"

#include <string>
#include <utility>

#include "collect/cookie_file.h"
#include "collect/cookie_page_address.h"
#include "text/file_primitives.h"
#include "text/gbk.h"

namespace tessaly::cli {
namespace {

constexpr int kMessageBoxOk = 1;

// Message boxes break lines with "\r\n"; a terminal wants "\n" alone.
std::string TerminalText(const Text& gbk) {
  std::string text = GbkToUtf8(gbk);
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result.push_back(text[i]);
  }
  return result;
}

}  // namespace

TerminalWindow::TerminalWindow(const Options& options, Text links, ProgressDisplay& display)
    : options_(options), links_(std::move(links)), display_(display) {}

Text TerminalWindow::LinkText() { return links_; }

Text TerminalWindow::CategoryText() { return Utf8ToGbk(options_.category); }

bool TerminalWindow::IsTicked(CheckBox box) {
  switch (box) {
    case CheckBox::kMainImages:
      return options_.main_images;
    case CheckBox::kSkuImages:
      return options_.sku_images;
    case CheckBox::kDescriptionImages:
      return options_.description_images;
    case CheckBox::kProductInfo:
      return options_.product_info;
  }
  return false;
}

void TerminalWindow::SetStatus(const Text& caption) {
  // The run's per-product texts all start so; every other status is a milestone.
  static const Text kProgressStart = "共检测到 "_gbk;
  display_.Status(TerminalText(caption), caption.rfind(kProgressStart, 0) == 0);
}

// There is no button to guard: the run is the whole process.
void TerminalWindow::SetStartEnabled(bool) {}

void TerminalWindow::OpenSettingsWindow() {
  std::string note = "The marketplace wants the cookies of a logged-in browser.";
  const Text page = GetCookiePageAddress();
  if (!page.empty()) note += "\nlog in and open in a browser: " + TerminalText(page);
  note += "\nthen save the Cookie header value into " + NativePath(CookieFilePath()) +
          "\nand run again.";
  display_.Note(note);
}

void TerminalWindow::ImageSaved(const Text&) {
  ++tally_.saved;
  display_.ImageSaved();
}

void TerminalWindow::PictureFailed(const PictureFailure& failure) {
  using What = PictureFailure::What;
  using Outcome = PictureFailure::Outcome;
  ++tally_.failures;
  std::string line = "picture failed: " + TerminalText(failure.address) + ": ";
  switch (failure.what) {
    case What::kNoAnswer:
      line += "no answer";
      break;
    case What::kHttpError:
      line += "HTTP " + std::to_string(failure.httpStatus);
      break;
    case What::kCutOff:
      line += "cut off";
      break;
  }
  const std::string path = NativePath(failure.path);
  switch (failure.outcome) {
    case Outcome::kKeptEarlier:
      ++tally_.kept;
      line += "; kept the earlier file " + path;
      break;
    case Outcome::kPlaceholder:
      ++tally_.placeholders;
      line += "; wrote an empty placeholder " + path;
      break;
    case Outcome::kPartSaved:
      ++tally_.saved;
      ++tally_.cut_off;
      display_.ImageSaved();
      line += "; saved the part that arrived as " + path;
      break;
    case Outcome::kNotWritten:
      line += "; could not write " + path;
      break;
  }
  display_.Note(line);
}

void TerminalWindow::PageFailed(const Text& address, const Text& statusText, bool cutOff) {
  ++tally_.failures;
  const std::string status = TerminalText(statusText);
  display_.Note("page failed: " + TerminalText(address) + ": " +
                (cutOff ? "cut off (" + status + ")" : status));
}

int TerminalWindow::ShowMessage(const Text& message, int, const Text& caption) {
  display_.Note(TerminalText(caption.empty() ? "信息："_gbk : caption) + TerminalText(message));
  return kMessageBoxOk;
}

void TerminalWindow::ProcessEvents() {}

void TerminalWindow::OpenUrl(const Text& address) {
  display_.Note("open in a browser: " + TerminalText(address));
}

void TerminalWindow::ShellOpen(const Text& path) {
  display_.Note("open in a file manager: " + NativePath(path));
}

}  // namespace tessaly::cli
