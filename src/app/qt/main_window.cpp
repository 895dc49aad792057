#include "app/qt/main_window.h"

#include <iterator>
#include <memory>

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "app/qt/app_icons.h"
#include "app/qt/author_window.h"
#include "app/qt/clickable_label.h"
#include "app/qt/open_and_wait.h"
#include "app/qt/qt_text.h"
#include "app/qt/table_widgets.h"
#include "app/qt/window_look.h"
#include "collect/addresses.h"
#include "collect/collection_run.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

using ui::kCategoryBox;
using ui::kCheckBoxes;
using ui::kLinkBox;
using ui::kStartButton;
using ui::kStatusLabel;

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(FromTable(ui::kMainWindow.title));
  setWindowIcon(ProgramIcon());

  // The table places the controls in the client area, which for Qt is the central
  // widget below the menu bar.
  auto client = std::make_unique<QWidget>();
  const ActionHandler act = [this](ui::Action action) { OnAction(action); };
  const TableControls controls(ui::kMainWindow.controls, *client, act);
  link_box_ = controls.Of<QPlainTextEdit>(kLinkBox);
  category_box_ = controls.Of<QLineEdit>(kCategoryBox);
  status_label_ = controls.Of<ClickableLabel>(kStatusLabel);
  start_button_ = controls.Of<QPushButton>(kStartButton);
  for (std::size_t i = 0; i < std::size(kCheckBoxes); ++i) {
    check_boxes_[i] = controls.Of<QCheckBox>(*kCheckBoxes[i]);
  }
  setCentralWidget(client.release());
  CreateMenus(ui::kMainWindow.menus, *menuBar(), act);

  MakeFixedCentredWindow(*this, ui::kMainWindow);
  PrepareRunDirectory();
}

QCheckBox& MainWindow::CheckBoxOf(CheckBox box) { return *check_boxes_[static_cast<int>(box) - 1]; }

QLabel& MainWindow::StatusLabel() { return *status_label_; }

void MainWindow::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

void MainWindow::PrepareRunDirectory() {
  const Text folder = ConcatText(GetRunDirectory(), kPathSeparator, Utf8ToGbk(ui::kStartupFolder));
  if (!PathExists(folder)) MakeDirectory(folder);
}

void MainWindow::OnAction(ui::Action action) {
  switch (action) {
    case ui::Action::kStartRun:
      StartButtonClick(operations_);
      break;
    case ui::Action::kClearLinks:
      link_box_->clear();
      break;
    case ui::Action::kOpenRunDirectory:
      desktop_.ShellOpen(GetRunDirectory());
      break;
    case ui::Action::kShowLinkHint:
      desktop_.ShowMessage(Utf8ToGbk(ui::kLinkHint), 0, Utf8ToGbk(ui::kLinkHintCaption));
      break;
    case ui::Action::kOpenSettingsWindow:
      operations_.OpenSettingsWindow();
      break;
    case ui::Action::kOpenHomePage:
      desktop_.OpenUrl(HomePageAddress(false));
      break;
    case ui::Action::kOpenAuthorWindow:
      OpenDialogAndWait([] { return std::make_unique<AuthorWindow>(); });
      break;
    default:
      break;
  }
}

}  // namespace tessaly
