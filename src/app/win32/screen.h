#pragma once

#include <windows.h>

// The screen facts a window needs to scale its pixels. The per-monitor functions exist
// from Windows 10 on; before that every window has the system's DPI.
namespace tessaly::win32 {

inline constexpr UINT kBaseDpi = 96;

UINT DpiOf(HWND window);
// Pixels of a 96 DPI screen at `dpi`.
inline int Scaled(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), kBaseDpi); }
int SystemMetric(int index, UINT dpi);
// The dialog font of the system at `dpi`; the caller destroys it.
HFONT CreateMessageFont(UINT dpi);
// The primary monitor's area without the task bar.
RECT PrimaryWorkArea();

}  // namespace tessaly::win32
