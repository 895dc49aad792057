#include <cstdlib>

#include <QApplication>

#include "app/qt/app_icons.h"
#include "app/qt/app_language.h"
#include "app/qt/main_window.h"
#include "collect/cookie_page_address.h"
#include "text/desktop.h"
#include "text/file_primitives.h"

namespace {

void ReleaseCookiePageAddress() { tessaly::SetCookiePageAddress({}); }

}  // namespace

int main(int argc, char* argv[]) {
  tessaly::EnterRunDirectory();
  // The program leaves through quick_exit (below), so the exit routine is registered
  // for it: it then runs while the process-wide values are still alive.
  std::at_quick_exit(ReleaseCookiePageAddress);

  QApplication app(argc, argv);
  QApplication::setWindowIcon(tessaly::ProgramIcon());
  tessaly::InstallChineseTranslations();

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
  // worker must then find its window and every process-wide value alive until the
  // process is gone, so leave without destroying anything: neither main's objects
  // nor the statics are torn down, and the exit routine above still runs.
  std::quick_exit(0);
}
