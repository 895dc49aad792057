#include "app/win32/screen.h"

namespace tessaly::win32 {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  // Through the one function type that converts to every other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

}  // namespace

UINT DpiOf(HWND window) {
  static const auto get_dpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = get_dpi && window ? get_dpi(window) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int SystemMetric(int index, UINT dpi) {
  static const auto for_dpi =
      User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (for_dpi) return for_dpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HFONT CreateMessageFont(UINT dpi) {
  static const auto for_dpi =
      User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return CreateFontIndirectW(&font);
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT PrimaryWorkArea() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (primary && GetMonitorInfoW(primary, &info)) area = info.rcWork;
  return area;
}

}  // namespace tessaly::win32
