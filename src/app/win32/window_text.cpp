#include "app/win32/window_text.h"

#include <climits>

#include "text/gbk.h"

namespace tessaly::win32 {

std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::wstring WideFromGbk(const Text& gbk) {
  const std::u16string utf16 = GbkToUtf16(gbk);
  return std::wstring(utf16.begin(), utf16.end());
}

Text GbkFromWide(std::wstring_view wide) {
  const std::u16string utf16(wide.begin(), wide.end());
  return Utf16ToGbk(utf16);
}

std::wstring WindowText(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  // The length may be an upper bound (and the text may change in between): keep what
  // WM_GETTEXT says it copied.
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void SetWindowTextTo(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace tessaly::win32
