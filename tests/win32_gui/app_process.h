#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

// The Windows app as a test driver sees it: a process of its own, started from a
// copy in a run directory of the test's, whose windows and controls are found by
// their class, caption and control number and worked with window messages only
// (key presses are unreliable without a window manager).
namespace tessaly::gui_testing {

// Polls `done` every 50 ms until it holds or `limit` passes; whether it held.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

// A window's text, read through the system (which carries WM_GETTEXT across
// processes).
std::wstring TextOf(HWND window);
void SetTextOf(HWND window, std::wstring_view text);
// The window's outer size.
SIZE OuterSize(HWND window);
// A child window's place in its parent's client area.
RECT PlaceInParent(HWND child);
std::wstring ClassOf(HWND window);

class AppProcess {
 public:
  // Copies the program (TESSALY_GUI_APP) into `folder` and starts it there.
  explicit AppProcess(const std::wstring& folder);
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // A visible top-level window of the process with this title (any class when
  // `window_class` is empty), waited for up to `limit`; nullptr when none came.
  HWND FindWindowTitled(std::wstring_view title, std::wstring_view window_class = {},
                        std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  // Every visible top-level window of the process.
  std::vector<HWND> Windows() const;
  // Waits for the process to end; its exit code, or -1 when it is still running
  // after `limit`.
  long WaitForExit(std::chrono::milliseconds limit);

 private:
  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
};

// Writes what the screen shows of `window` (title bar included) as a 24-bit BMP
// into TESSALY_GUI_SHOTS, when that is set.
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace tessaly::gui_testing
