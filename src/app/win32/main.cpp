#include <windows.h>
#include <commctrl.h>

#include "app/win32/main_window.h"
#include "collect/cookie_page_address.h"
#include "text/desktop.h"
#include "text/file_primitives.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  tessaly::EnterRunDirectory();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);

  tessaly::win32::MainWindow window;
  tessaly::InstallDesktop(&window);
  if (!window.Create(show)) return 1;
  tessaly::win32::RunMessageLoop();

  // The exit routine: the one process-wide value the program releases.
  tessaly::SetCookiePageAddress({});
  // Closing the window ends the program with code 0 even while a run is still working.
  // The worker is never waited for; it must find its window object and every
  // process-wide value alive until the process is gone, and no lock it may hold can be
  // met by a clean-up: so nothing is torn down, and the process ends here at once.
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}
