#include "app/win32/main_window.h"

#include "app/win32/settings_window.h"
#include "app/win32/window_text.h"
#include "app/window_table.h"
#include "collect/addresses.h"
#include "collect/collection_run.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_primitives.h"
#include "text/wide_text.h"

namespace tessaly::win32 {
namespace {

using ui::kCategoryBox;
using ui::kCheckBoxes;
using ui::kLinkBox;
using ui::kStartButton;
using ui::kStatusLabel;

void OpenAuthorWindow() {
  TableWindow window(ui::kAuthorWindow);
  if (window.Create()) window.RunModal();
}

}  // namespace

MainWindow::MainWindow() : TableWindow(ui::kMainWindow) {}

Text MainWindow::LinkText() { return WideToGbk(WindowText(ControlWindow(kLinkBox))); }

Text MainWindow::CategoryText() { return WideToGbk(WindowText(ControlWindow(kCategoryBox))); }

bool MainWindow::IsTicked(CheckBox box) {
  const int index = static_cast<int>(box) - 1;
  if (index < 0 || index >= 4) return false;
  return SendMessageW(ControlWindow(*kCheckBoxes[index]), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetStatus(const Text& caption) {
  SetWindowTextTo(ControlWindow(kStatusLabel), GbkToWide(caption));
}

void MainWindow::SetStartEnabled(bool enabled) {
  EnableWindow(ControlWindow(kStartButton), enabled ? TRUE : FALSE);
}

void MainWindow::OpenSettingsWindow() { SettingsWindow::OpenAndWait(); }

void MainWindow::OnCreated() {
  // The folder of a run with an empty category box. Anything of that name, a file
  // too, is left alone; a folder that cannot be made is not reported.
  const Text folder = ConcatText(GetRunDirectory(), kPathSeparator, Utf8ToGbk(ui::kStartupFolder));
  if (!PathExists(folder)) MakeDirectory(folder);
}

void MainWindow::OnAction(ui::Action action) {
  switch (action) {
    case ui::Action::kStartRun:
      // The disabled button is the one guard against a second run; a click that was
      // already queued when the button went grey finds it disabled here.
      if (IsWindowEnabled(ControlWindow(kStartButton))) StartButtonClick(*this);
      break;
    case ui::Action::kClearLinks:
      SetWindowTextTo(ControlWindow(kLinkBox), std::wstring());
      break;
    case ui::Action::kOpenRunDirectory:
      desktop_.ShellOpen(GetRunDirectory());
      break;
    case ui::Action::kShowLinkHint:
      desktop_.ShowMessage(Utf8ToGbk(ui::kLinkHint), 0, Utf8ToGbk(ui::kLinkHintCaption));
      break;
    case ui::Action::kOpenSettingsWindow:
      OpenSettingsWindow();
      break;
    case ui::Action::kOpenHomePage:
      desktop_.OpenUrl(HomePageAddress(false));
      break;
    case ui::Action::kOpenAuthorWindow:
      OpenAuthorWindow();
      break;
    default:
      break;
  }
}

void MainWindow::OnDestroyed() { PostQuitMessage(0); }

}  // namespace tessaly::win32
