// The QApplication every app test needs, and the shared fixture of app_fixture.h.
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include "app/app_fixture.h"
#include "app/qt/app_language.h"
#include "collect/cookie_file.h"
#include "collect/cookie_page_address.h"

namespace tessaly::testing {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    // As the program does, before any window exists.
    InstallChineseTranslations();
  }
  void TearDown() override { app_.reset(); }

 private:
  char name_[10] = "app_tests";
  char* argv_[2] = {name_, nullptr};
  int argc_ = 1;
  std::unique_ptr<QApplication> app_;
};

// gtest takes ownership of the environment.
[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

bool OnUi() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

void RecordingDesktopServices::OpenUrl(const QUrl& address) {
  std::lock_guard guard(lock_);
  urls_.push_back(address.toString());
  all_on_ui_thread_ = all_on_ui_thread_ && OnUi();
}

void RecordingDesktopServices::OpenPath(const QString& nativePath) {
  std::lock_guard guard(lock_);
  paths_.push_back(nativePath);
  all_on_ui_thread_ = all_on_ui_thread_ && OnUi();
}

void RecordingDesktopServices::ShowMessage(const QString& text, const QString& caption, bool modal,
                                           std::function<void()> closed) {
  {
    std::lock_guard guard(lock_);
    messages_.push_back({text, caption, modal});
    all_on_ui_thread_ = all_on_ui_thread_ && OnUi();
  }
  closed();
}

std::vector<QString> RecordingDesktopServices::Urls() const {
  std::lock_guard guard(lock_);
  return urls_;
}

std::vector<QString> RecordingDesktopServices::Paths() const {
  std::lock_guard guard(lock_);
  return paths_;
}

std::vector<RecordingDesktopServices::Message> RecordingDesktopServices::Messages() const {
  std::lock_guard guard(lock_);
  return messages_;
}

bool RecordingDesktopServices::AllOnUiThread() const {
  std::lock_guard guard(lock_);
  return all_on_ui_thread_;
}

AppTest::AppTest() {
  SetDesktopServices(&desktop_);
  SetCookieFilePath({});
  SetCookiePageAddress({});
}

AppTest::~AppTest() {
  // Windows a failed test left open must not leak into the next test.
  for (QWidget* widget : QApplication::topLevelWidgets()) widget->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetDesktopServices(nullptr);
  SetCookiePageAddress({});
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limit.count()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

void PressLeft(QWidget& widget) {
  const QPointF where(widget.width() / 2.0, widget.height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, where, widget.mapToGlobal(where), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, where, widget.mapToGlobal(where), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &release);
}

void CloseWhenOpen(const std::function<QWidget*()>& find,
                   const std::function<void(QWidget&)>& inspect) {
  // Owned by the application object; deletes itself once done.
  auto* poll = new QTimer(QCoreApplication::instance());
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, poll, [poll, started, find, inspect] {
    if (QWidget* window = find()) {
      poll->stop();
      poll->deleteLater();
      inspect(*window);
      window->close();
    } else if (started->elapsed() > 5000) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "the expected window did not open";
    }
  });
  poll->start(5);
}

}  // namespace tessaly::testing
