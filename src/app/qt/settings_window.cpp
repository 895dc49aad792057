#include "app/qt/settings_window.h"

#include <vector>

#include <QApplication>
#include <QPlainTextEdit>
#include <QString>

#include "app/qt/qt_text.h"
#include "app/qt/table_widgets.h"
#include "app/qt/window_look.h"
#include "collect/addresses.h"
#include "collect/cookie_file.h"
#include "collect/cookie_page_address.h"
#include "text/gbk.h"

namespace tessaly {
namespace {

constexpr const ui::ControlDef& kEditor = ui::Control(ui::WindowId::kSettings, "编辑框1");

}  // namespace

SettingsWindow::SettingsWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromTable(ui::kSettingsWindow.title));
  const TableControls controls(ui::kSettingsWindow.controls, *this,
                               [this](ui::Action action) { OnAction(action); });
  editor_ = controls.Of<QPlainTextEdit>(kEditor);
  MakeFixedCentredWindow(*this, ui::kSettingsWindow);
  Load();
}

void SettingsWindow::showEvent(QShowEvent* event) {
  std::vector<const QWidget*> open;
  for (const QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != this && widget->isVisible() && qobject_cast<const SettingsWindow*>(widget)) {
      open.push_back(widget);
    }
  }
  CascadeClearOf(*this, open);
  QDialog::showEvent(event);
}

void SettingsWindow::Load() {
  loaded_ = ReadCookieFile();
  editor_->setPlainText(ToQString(loaded_));
  loaded_view_ = editor_->toPlainText();
}

// The editor turns "\r\n", a lone "\n" and a lone "\r" alike into one paragraph break
// and gives each back as "\n", so its text alone cannot say which break the file had.
// A value saved without edits is therefore written back as the very bytes that were
// loaded (this also keeps bytes that are not GBK and showed as U+FFFD). An edited
// value takes "\r\n" for every break when the loaded file used "\r\n", else "\n",
// which is what Enter and this platform's clipboard give. Characters GBK cannot hold
// (emoji and the like) are written as "?"; everything else is kept.
Text SettingsWindow::EditorValue() const {
  QString shown = editor_->toPlainText();
  if (shown == loaded_view_) return loaded_;
  if (loaded_.find("\r\n") != Text::npos) shown.replace(u'\n', QStringLiteral("\r\n"));
  return FromQString(shown);
}

void SettingsWindow::Save() {
  // A failed write must not be reported as saved: the user would go on with a
  // cookie value that the next run never reads. The old file stays as it was.
  const bool saved = WriteCookieFile(EditorValue());
  desktop_.ShowMessage(Utf8ToGbk(saved ? ui::kSaved : ui::kSaveFailed), 0,
                       Utf8ToGbk(ui::kSaveCaption));
}

void SettingsWindow::OnAction(ui::Action action) {
  switch (action) {
    case ui::Action::kSaveCookies:
      Save();
      break;
    case ui::Action::kOpenCookiePage:
      desktop_.OpenUrl(CookiePageAddressOr(HomePageAddress(true)));
      break;
    case ui::Action::kOpenTutorial:
      desktop_.OpenUrl(ReleasePageAddress());
      break;
    default:
      break;
  }
}

}  // namespace tessaly
