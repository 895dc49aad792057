#include "app/qt/qt_desktop.h"

#include <utility>

#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include "app/qt/desktop_services.h"
#include "app/qt/open_and_wait.h"
#include "app/qt/qt_text.h"
#include "app/qt/ui_thread.h"
#include "app/window_table.h"
#include "text/file_primitives.h"

namespace tessaly {
namespace {

constexpr int kOkButton = 1;

}  // namespace

int QtDesktop::ShowMessage(const Text& message, int /*style*/, const Text& caption) {
  const QString text = WithQtLineBreaks(ToQString(message));
  const QString title =
      caption.empty() ? FromTable(ui::kDefaultMessageCaption) : ToQString(caption);
  OpenAndWait([text, title](bool modal, std::function<void()> closed) {
    CurrentDesktopServices().ShowMessage(text, title, modal, std::move(closed));
  });
  return kOkButton;
}

void QtDesktop::ProcessEvents() {
  if (OnUiThread()) QCoreApplication::processEvents();
}

void QtDesktop::OpenUrl(const Text& address) {
  const QUrl url(ToQString(address));
  RunOn(QCoreApplication::instance(), [&url] { CurrentDesktopServices().OpenUrl(url); });
}

void QtDesktop::ShellOpen(const Text& path) {
  const QString native = QString::fromStdString(NativePath(path));
  RunOn(QCoreApplication::instance(), [&native] { CurrentDesktopServices().OpenPath(native); });
}

}  // namespace tessaly
