#include "app_process.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "text/wide_text.h"

namespace tessaly::gui_testing {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(got);
  return text;
}

void SetTextOf(HWND window, std::wstring_view text) {
  const std::wstring terminated(text);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()),
                      SMTO_ABORTIFHUNG, 20000, &ignored);
}

SIZE OuterSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT PlaceInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

namespace {

std::wstring Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? value : L"";
}

struct Search {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.process_id && IsWindowVisible(window)) search.found.push_back(window);
  return TRUE;
}

}  // namespace

AppProcess::AppProcess(const std::wstring& folder) {
  const std::wstring source = Environment(L"TESSALY_GUI_APP");
  const std::wstring program = folder + L"\\tessaly.exe";
  if (source.empty() || !CopyFileW(source.c_str(), program.c_str(), FALSE)) return;
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    return;
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  process_id_ = started.dwProcessId;
  WaitForInputIdle(process_, 20000);
}

AppProcess::~AppProcess() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

std::vector<HWND> AppProcess::Windows() const {
  Search search{process_id_, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND AppProcess::FindWindowTitled(std::wstring_view title, std::wstring_view window_class,
                                  std::chrono::milliseconds limit) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : Windows()) {
          if (TextOf(window) == title &&
              (window_class.empty() || ClassOf(window) == window_class)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      limit);
  return found;
}

long AppProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}

void SaveScreenshot(HWND window, const std::string& name) {
  const std::wstring folder = Environment(L"TESSALY_GUI_SHOTS");
  if (folder.empty()) return;
  // The window in front and painted, so that the screen shows it whole.
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD image_size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + image_size;
  info.bmiHeader.biSizeImage = image_size;
  std::ofstream out(std::filesystem::path(folder + L"\\" + Utf8ToWide(name) + L".bmp"),
                    std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), image_size);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace tessaly::gui_testing
