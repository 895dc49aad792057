#pragma once

#include <string>

#include <windows.h>

// The texts of controls. Conversions between the core's GBK, the window table's
// UTF-8 and the system's UTF-16 are the core's (text/wide_text.h); nothing goes
// through the ANSI code page.
namespace tessaly::win32 {

// A window's whole text, however long, through WM_GETTEXTLENGTH and WM_GETTEXT: from
// another thread the system carries both to the window's thread and waits.
std::wstring WindowText(HWND window);
// WM_SETTEXT, carried to the window's thread in the same way.
void SetWindowTextTo(HWND window, const std::wstring& text);

}  // namespace tessaly::win32
