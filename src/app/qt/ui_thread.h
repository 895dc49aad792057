#pragma once

#include <type_traits>
#include <utility>

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace tessaly {

// True on the thread that runs the application's events (the user-interface thread).
inline bool OnUiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// Runs `work` on the thread of `context` and returns its result. Called from another
// thread, the call is queued to that thread and waited for, so the caller sees what
// it wrote at once and in order; called on that thread, it runs directly. When
// `context` dies before the queued call runs, the work is dropped and the result is
// the value-initialised one.
template <typename Work>
auto RunOn(QObject* context, Work work) -> std::invoke_result_t<Work> {
  using Result = std::invoke_result_t<Work>;
  if (context == nullptr) return Result();
  if (QThread::currentThread() == context->thread()) return work();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(context, std::move(work), Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        context, [&result, &work] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

}  // namespace tessaly
