#include "app/qt/open_and_wait.h"

#include <chrono>
#include <future>
#include <memory>
#include <mutex>

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>

#include "app/qt/ui_thread.h"

namespace tessaly {
namespace {

// Shared by every copy of the `closed` callback. Firing it, or dropping the last copy
// uncalled (the promise then breaks), makes the waiter's future ready.
struct Closing {
  std::promise<void> closed;
  std::once_flag once;
  QPointer<QEventLoop> loop;  // the user-interface thread's local loop, when it waits

  void Fire() {
    std::call_once(once, [this] { closed.set_value(); });
    if (loop) loop->quit();
  }
  ~Closing() {
    if (loop) loop->quit();
  }
};

bool Ready(const std::future<void>& future) {
  return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace

void OpenAndWait(const std::function<void(bool modal, std::function<void()> closed)>& open) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;

  auto closing = std::make_shared<Closing>();
  std::future<void> done = closing->closed.get_future();

  if (OnUiThread()) {
    // A local loop keeps the application's events running while the window shows,
    // as a dialog's own exec() would.
    QEventLoop loop;
    closing->loop = &loop;
    open(true, [closing] { closing->Fire(); });
    closing.reset();
    if (!Ready(done)) loop.exec(QEventLoop::DialogExec);
    return;
  }

  // The waiter keeps no copy of the state: when the user-interface thread drops the
  // call (its application gone), the broken promise wakes this thread too.
  QMetaObject::invokeMethod(
      app,
      [open, closing = std::move(closing)]() mutable {
        open(false, [closing] { closing->Fire(); });
        closing.reset();
      },
      Qt::QueuedConnection);
  done.wait();
}

void OpenDialogAndWait(const std::function<std::unique_ptr<QDialog>()>& make) {
  OpenAndWait([make](bool modal, std::function<void()> closed) {
    // Qt's ownership from here on: the dialog deletes itself once finished.
    QDialog* dialog = make().release();
    dialog->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    QObject::connect(
        dialog, &QDialog::finished, dialog,
        [dialog, closed = std::move(closed)] {
          dialog->deleteLater();
          closed();
        },
        Qt::SingleShotConnection);
    dialog->show();
  });
}

}  // namespace tessaly
