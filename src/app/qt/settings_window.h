#pragma once

#include <QDialog>
#include <QString>

#include "app/qt/qt_desktop.h"
#include "app/window_table.h"
#include "text/text.h"

class QPlainTextEdit;
class QShowEvent;

namespace tessaly {

// The settings window: the cookie editor over the cookie file, and the links to the
// cookie page and the tutorial. Created afresh at each opening, so it always shows the
// file's current content; saving does not close it.
class SettingsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsWindow(QWidget* parent = nullptr);

  QPlainTextEdit& Editor() { return *editor_; }  // 编辑框1

 protected:
  // Two settings windows can be open at once (a run meets the wall while another
  // one's window, or the menu's, still shows): a new one opens clear of the others
  // instead of exactly on top of them.
  void showEvent(QShowEvent* event) override;

 private:
  void Load();
  void Save();
  void OnAction(ui::Action action);
  // The cookie file's text for what the editor holds now.
  Text EditorValue() const;

  QtDesktop desktop_;
  QPlainTextEdit* editor_ = nullptr;
  Text loaded_;          // the file's text as loaded
  QString loaded_view_;  // what the editor showed right after loading it
};

}  // namespace tessaly
