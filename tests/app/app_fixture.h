#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "app/qt/desktop_services.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

// Stands in for the browser, the file manager and message boxes: records what the
// application asked for, and closes every box at once, so no test waits on a user.
class RecordingDesktopServices : public DesktopServices {
 public:
  struct Message {
    QString text;
    QString caption;
    bool modal;
  };

  void OpenUrl(const QUrl& address) override;
  void OpenPath(const QString& nativePath) override;
  void ShowMessage(const QString& text, const QString& caption, bool modal,
                   std::function<void()> closed) override;

  std::vector<QString> Urls() const;
  std::vector<QString> Paths() const;
  std::vector<Message> Messages() const;
  // False once any request arrived on a thread other than the user-interface thread.
  bool AllOnUiThread() const;

 private:
  mutable std::mutex lock_;
  std::vector<QString> urls_;
  std::vector<QString> paths_;
  std::vector<Message> messages_;
  bool all_on_ui_thread_ = true;
};

// A run directory of its own, the recorder in place of the desktop, and the
// process-wide values (cookie file path, cookie page address) back at their start.
class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  // The run directory's file or folder, by its UTF-8 name.
  std::string InRunDirectory(const std::string& name) const { return run_directory_.Join(name); }
  QString RunDirectoryPath() const { return QString::fromStdString(run_directory_.path()); }

  TempDir run_directory_{true};
  RecordingDesktopServices desktop_;
};

// Runs the application's events until `done` holds or the time is up; the result
// of `done` at the end.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5));

// A left press, as the user's mouse gives it.
void PressLeft(QWidget& widget);

// The open (visible) top-level window of the type, if any.
template <typename Window>
Window* OpenWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible()) {
      return window;
    }
  }
  return nullptr;
}

// Once a window of the type opens, `inspect` runs on it and the window is closed, the
// way its close button would. Meant for openers that wait until the window is
// closed; a window that never opens fails the test instead of hanging it.
void CloseWhenOpen(const std::function<QWidget*()>& find,
                   const std::function<void(QWidget&)>& inspect);

template <typename Window>
void CloseWhenOpen(const std::function<void(Window&)>& inspect = {}) {
  CloseWhenOpen([] { return static_cast<QWidget*>(OpenWindow<Window>()); },
                [inspect](QWidget& widget) {
                  if (inspect) inspect(static_cast<Window&>(widget));
                });
}

}  // namespace tessaly::testing
