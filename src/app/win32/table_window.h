#pragma once

#include <string_view>
#include <vector>

#include <windows.h>

#include "app/window_table.h"

namespace tessaly::win32 {

// Every window of the program is of this class; a test driver finds them by it.
inline constexpr wchar_t kWindowClass[] = L"TessalyWindow";
// Control number i of a window's table (from 0) has the child window id kControlIdBase + i.
inline constexpr int kControlIdBase = 100;
// A menu item's command is kMenuCommandBase plus the number of its action.
inline constexpr int kMenuCommandBase = 1000;

// A top-level window built from its definition in the window table: the title, the outer
// size and every control at its place, with the fonts, colours and cursors the table
// gives, all scaled by the DPI of the monitor the window is on (and again when it moves
// to another). The window lives on the thread that creates it; its handlers run there.
class TableWindow {
 public:
  explicit TableWindow(const ui::WindowDef& definition);
  virtual ~TableWindow();
  TableWindow(const TableWindow&) = delete;
  TableWindow& operator=(const TableWindow&) = delete;

  // Creates the window, its controls and its menu bar, centred on the primary screen,
  // raises OnCreated and shows it. False when Windows refuses the window.
  bool Create(int show = SW_SHOWNORMAL);
  // Runs the calling thread's messages until this window is closed. Meanwhile the
  // thread's other top-level windows take no input (from a thread without windows of
  // its own, only that thread waits). A quit message ends the wait too, and is kept
  // for the thread's outer loop.
  void RunModal();

  HWND Handle() const { return window_; }
  // The control's window; nullptr before Create or for a control of another window.
  // The handles stay as they are from Create on, so any thread may read them.
  HWND ControlWindow(const ui::ControlDef& control) const;
  HWND ControlWindow(std::string_view name) const;

 protected:
  const ui::WindowDef& Definition() const { return definition_; }
  // The controls exist; the window is not shown yet.
  virtual void OnCreated() {}
  // A button clicked, a label or picture pressed, a menu item chosen.
  virtual void OnAction(ui::Action /*action*/) {}
  // The window is going away (it was closed).
  virtual void OnDestroyed() {}

 private:
  // Once per process, on whichever thread comes first.
  static bool RegisterWindowClass();
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  HMENU CreateMenuBar() const;
  // Fonts, icons and every control's place at `dpi`.
  void ApplyDpi(UINT dpi);
  void Command(int id, int code, HWND control);
  const ui::ControlDef* DefinitionOf(HWND control) const;
  void BlockThreadWindows();
  void ReleaseBlockedWindows();

  const ui::WindowDef& definition_;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;
  UINT dpi_ = 96;
  HFONT fonts_[4] = {};  // by ui::FontStyle
  HICON help_picture_ = nullptr;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window was left
  std::vector<HWND> blocked_;
};

// Runs the calling thread's messages until a quit message; gives its exit code.
int RunMessageLoop();
// Dispatches the calling thread's pending messages and returns when none is left; a quit
// message stays in the queue for the thread's loop.
void DispatchPending();

}  // namespace tessaly::win32
