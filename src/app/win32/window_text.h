#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "text/text.h"

// Texts at the edge between the core (GBK) or the window table (UTF-8) and Windows
// (UTF-16). Nothing here goes through the system's ANSI code page.
namespace tessaly::win32 {

std::wstring WideFromUtf8(std::string_view utf8);
std::wstring WideFromGbk(const Text& gbk);
// Characters that GBK cannot hold become "?".
Text GbkFromWide(std::wstring_view wide);

// A window's whole text, however long, through WM_GETTEXTLENGTH and WM_GETTEXT: from
// another thread the system carries both to the window's thread and waits.
std::wstring WindowText(HWND window);
// WM_SETTEXT, carried to the window's thread in the same way.
void SetWindowTextTo(HWND window, const std::wstring& text);

}  // namespace tessaly::win32
