#include "app/win32/desktop.h"

#include <windows.h>
#include <shellapi.h>

#include "app/win32/table_window.h"
#include "app/win32/window_text.h"
#include "app/window_table.h"
#include "text/wide_text.h"

namespace tessaly::win32 {

int ShowMessageBox(const Text& message, int style, const Text& caption) {
  static const std::wstring default_caption = Utf8ToWide(ui::kDefaultMessageCaption);
  const std::wstring title = caption.empty() ? default_caption : GbkToWide(caption);
  return MessageBoxW(nullptr, GbkToWide(message).c_str(), title.c_str(),
                     static_cast<UINT>(style) | MB_TASKMODAL);
}

void OpenWithShell(const Text& target) {
  ShellExecuteW(nullptr, L"open", GbkToWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Desktop::ProcessEvents() { DispatchPending(); }

}  // namespace tessaly::win32
