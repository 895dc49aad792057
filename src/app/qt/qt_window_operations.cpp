#include "app/qt/qt_window_operations.h"

#include <memory>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/qt/main_window.h"
#include "app/qt/open_and_wait.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_window.h"
#include "app/qt/ui_thread.h"

namespace tessaly {

Text QtWindowOperations::LinkText() {
  return RunOn(&window_, [this] { return FromQString(window_.LinkBox().toPlainText()); });
}

Text QtWindowOperations::CategoryText() {
  return RunOn(&window_, [this] { return FromQString(window_.CategoryBox().text()); });
}

bool QtWindowOperations::IsTicked(CheckBox box) {
  return RunOn(&window_, [this, box] { return window_.CheckBoxOf(box).isChecked(); });
}

void QtWindowOperations::SetStatus(const Text& caption) {
  RunOn(&window_, [this, &caption] { window_.StatusLabel().setText(ToQString(caption)); });
}

void QtWindowOperations::SetStartEnabled(bool enabled) {
  RunOn(&window_, [this, enabled] { window_.StartButton().setEnabled(enabled); });
}

void QtWindowOperations::OpenSettingsWindow() {
  OpenDialogAndWait([] { return std::make_unique<SettingsWindow>(); });
}

}  // namespace tessaly
