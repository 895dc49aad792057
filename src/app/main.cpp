#include <cstdlib>

#include <QApplication>

#include "app/app_icons.h"
#include "app/main_window.h"
#include "collect/cookie_page_address.h"
#include "text/desktop.h"
#include "text/file_primitives.h"

namespace {

void ReleaseCookiePageAddress() { tessaly::SetCookiePageAddress({}); }

}  // namespace

int main(int argc, char* argv[]) {
  tessaly::EnterRunDirectory();
  std::atexit(ReleaseCookiePageAddress);

  QApplication app(argc, argv);
  QApplication::setWindowIcon(tessaly::ProgramIcon());

  // A settings window or a message box that a run opened is a window of its own, but
  // it does not keep the program alive: closing MainWindow ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  tessaly::MainWindow window;
  QObject::connect(&window, &tessaly::MainWindow::closed, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  tessaly::InstallDesktop(&window.Operations());
  window.show();
  app.exec();

  // Closing the window ends the program even while a run is still working. The run's
  // worker must then find its window alive until the process is gone, so leave
  // without unwinding main: the window and the application are not destroyed here,
  // and the exit routine above still runs.
  std::exit(0);
}
