#pragma once

#include <QMainWindow>

#include "app/qt/qt_desktop.h"
#include "app/qt/qt_window_operations.h"
#include "app/window_table.h"
#include "collect/window_operations.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tessaly {

class ClickableLabel;

// The program's one long-lived window: the link box, the category box, the four
// check boxes, the start button and the status label, under the menu bar, all as
// ui::kMainWindow defines them.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  // What a collection run started from this window works on.
  QtWindowOperations& Operations() { return operations_; }

  QPlainTextEdit& LinkBox() { return *link_box_; }       // 编辑框1
  QLineEdit& CategoryBox() { return *category_box_; }    // 编辑框2
  QCheckBox& CheckBoxOf(CheckBox box);                   // 选择框1..4
  QLabel& StatusLabel();                                 // 标签1
  QPushButton& StartButton() { return *start_button_; }  // 按钮1

 signals:
  // The user closed the window: the program ends, whatever other windows are open.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The "created" handler: the default category folder, when nothing has its name.
  void PrepareRunDirectory();
  // A control pressed or clicked, or a menu item chosen.
  void OnAction(ui::Action action);

  QtWindowOperations operations_{*this};
  QtDesktop desktop_;
  QPlainTextEdit* link_box_ = nullptr;
  QLineEdit* category_box_ = nullptr;
  QCheckBox* check_boxes_[4] = {};
  ClickableLabel* status_label_ = nullptr;
  QPushButton* start_button_ = nullptr;
};

}  // namespace tessaly
