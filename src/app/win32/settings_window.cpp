#include "app/win32/settings_window.h"

#include "app/win32/desktop.h"
#include "app/win32/window_text.h"
#include "app/window_table.h"
#include "collect/addresses.h"
#include "collect/cookie_file.h"
#include "collect/cookie_page_address.h"
#include "text/gbk.h"
#include "text/wide_text.h"

namespace tessaly::win32 {
namespace {

constexpr const ui::ControlDef& kEditor = ui::Control(ui::WindowId::kSettings, "编辑框1");

}  // namespace

SettingsWindow::SettingsWindow() : TableWindow(ui::kSettingsWindow) {}

void SettingsWindow::OpenAndWait() {
  SettingsWindow window;
  if (window.Create()) window.RunModal();
}

void SettingsWindow::OnCreated() {
  editor_ = ControlWindow(kEditor);
  loaded_ = ReadCookieFile();
  SetWindowTextTo(editor_, GbkToWide(loaded_));
  loaded_view_ = WindowText(editor_);
}

// The edit control keeps every line break as it was given, "\r\n" or not, and gives
// back what Enter typed as "\r\n": its text is the value, break for break. A value saved
// without edits is written back as the very bytes that were loaded, which also keeps
// bytes that are not GBK and showed as U+FFFD. Characters GBK cannot hold become "?".
Text SettingsWindow::EditorValue() const {
  const std::wstring shown = WindowText(editor_);
  if (shown == loaded_view_) return loaded_;
  return WideToGbk(shown);
}

void SettingsWindow::Save() {
  const bool saved = WriteCookieFile(EditorValue());
  ShowMessageBox(Utf8ToGbk(saved ? ui::kSaved : ui::kSaveFailed), 0, Utf8ToGbk(ui::kSaveCaption));
}

void SettingsWindow::OnAction(ui::Action action) {
  switch (action) {
    case ui::Action::kSaveCookies:
      Save();
      break;
    case ui::Action::kOpenCookiePage:
      OpenWithShell(CookiePageAddressOr(HomePageAddress(true)));
      break;
    case ui::Action::kOpenTutorial:
      OpenWithShell(ReleasePageAddress());
      break;
    default:
      break;
  }
}

}  // namespace tessaly::win32
