#include "app/win32/table_window.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "app/win32/resource_ids.h"
#include "app/win32/screen.h"
#include "app/win32/window_text.h"
#include "text/wide_text.h"

namespace tessaly::win32 {
namespace {

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr COLORREF kLinkColour = RGB(0xFF, 0x00, 0x00);

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

bool IsTableWindow(HWND window) {
  wchar_t name[64];
  return window != nullptr && GetClassNameW(window, name, 64) > 0 &&
         std::wcscmp(name, kWindowClass) == 0;
}

// Dialog keys (Tab between controls) in the program's windows, plain dispatch elsewhere.
void Dispatch(MSG& message) {
  const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (IsTableWindow(root) && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

bool FaceInstalled(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  bool found = false;
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  EnumFontFamiliesExW(
      screen, &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found_flag) -> int {
        *reinterpret_cast<bool*>(found_flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

HFONT CreateYaHei(ui::FontStyle style, UINT dpi) {
  static const std::wstring family = Utf8ToWide(ui::kYaHeiFamily);
  // Windows before 8.1 has no Light face: the regular one stands in for it.
  static const std::wstring light = [] {
    const std::wstring face = Utf8ToWide(ui::kYaHeiLightFace);
    return FaceInstalled(face) ? face : family;
  }();
  const std::wstring& face = style == ui::FontStyle::kYaHeiLight ? light : family;
  return CreateFontW(-Scaled(ui::kYaHeiPixelHeight, dpi), 0, 0, 0, ui::WeightOf(style), FALSE,
                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

HICON LoadIconSized(int id, int side) {
  return static_cast<HICON>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}

DWORD ControlStyle(const ui::ControlDef& control, const wchar_t*& window_class, DWORD& extended) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  extended = 0;
  const bool pressable = control.action != ui::Action::kNone || control.Has(ui::kHandCursor);
  switch (control.kind) {
    case ui::ControlKind::kLabel:
    case ui::ControlKind::kLinkLabel:
      window_class = L"STATIC";
      style |= SS_LEFT | SS_NOPREFIX | (pressable ? SS_NOTIFY : 0);
      break;
    case ui::ControlKind::kPictureBox:
      window_class = L"STATIC";
      style |= SS_OWNERDRAW | (pressable ? SS_NOTIFY : 0);
      break;
    case ui::ControlKind::kButton:
      window_class = L"BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ui::ControlKind::kCheckBox:
      window_class = L"BUTTON";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ui::ControlKind::kEditBox:
      window_class = L"EDIT";
      extended = WS_EX_CLIENTEDGE;
      style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
      break;
    case ui::ControlKind::kMultiLineEditBox:
      window_class = L"EDIT";
      extended = WS_EX_CLIENTEDGE;
      style |= ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP;
      // Without ES_AUTOHSCROLL and a horizontal scroll bar the edit control breaks lines.
      if (!control.Has(ui::kWordWrap)) style |= ES_AUTOHSCROLL;
      if (control.Has(ui::kHorizontalScrollBar)) style |= WS_HSCROLL;
      if (control.Has(ui::kVerticalScrollBar)) style |= WS_VSCROLL;
      if (control.Has(ui::kEnterNewLine)) style |= ES_WANTRETURN;
      break;
  }
  return style;
}

struct SameWindowSearch {
  HWND window;
  POINT corner;
  bool found = false;
};

BOOL CALLBACK FindSameWindowAt(HWND other, LPARAM context) {
  auto& search = *reinterpret_cast<SameWindowSearch*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(other, &process);
  if (other == search.window || process != GetCurrentProcessId() || !IsWindowVisible(other)) {
    return TRUE;
  }
  wchar_t window_class[64] = {};
  GetClassNameW(other, window_class, 64);
  RECT rect{};
  GetWindowRect(other, &rect);
  search.found = std::wstring_view(window_class) == kWindowClass &&
                 WindowText(other) == WindowText(search.window) && rect.left == search.corner.x &&
                 rect.top == search.corner.y;
  return search.found ? FALSE : TRUE;
}

// Whether another window of the program with the same title has its corner there.
bool SameWindowAt(HWND window, POINT corner) {
  SameWindowSearch search{window, corner};
  EnumWindows(FindSameWindowAt, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TableWindow::TableWindow(const ui::WindowDef& definition) : definition_(definition) {}

bool TableWindow::RegisterWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &TableWindow::Procedure;
    window_class.hInstance = Instance();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kWindowClass;
    window_class.hIcon = static_cast<HICON>(LoadImageW(
        Instance(), MAKEINTRESOURCEW(TESSALY_PROGRAM_ICON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    return RegisterClassExW(&window_class);
  }();
  return atom != 0;
}

TableWindow::~TableWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  for (HFONT& font : fonts_) {
    if (font) DeleteObject(font);
  }
  for (HICON icon : {help_picture_, big_icon_, small_icon_}) {
    if (icon) DestroyIcon(icon);
  }
}

bool TableWindow::Create(int show) {
  if (window_ != nullptr || !RegisterWindowClass()) return false;
  const RECT area = PrimaryWorkArea();
  const HMENU menu = CreateMenuBar();
  // Made on the primary screen first, so that its DPI is the one to scale by.
  const HWND window = CreateWindowExW(0, kWindowClass, Utf8ToWide(definition_.title).c_str(),
                                      kWindowStyle, area.left, area.top, definition_.outer_width,
                                      definition_.outer_height, nullptr, menu, Instance(), this);
  if (window == nullptr) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  CreateControls();
  ApplyDpi(DpiOf(window_));

  const int width = Scaled(definition_.outer_width, dpi_);
  const int height = Scaled(definition_.outer_height, dpi_);
  POINT corner{area.left + std::max(0L, (area.right - area.left - width) / 2),
               area.top + std::max(0L, (area.bottom - area.top - height) / 2)};
  // A second window of the same kind (a second run's wall while the first settings
  // window is still open) steps down and right off the first, so that closing one
  // visibly leaves the other.
  const int step = SystemMetric(SM_CYCAPTION, dpi_) + SystemMetric(SM_CYFRAME, dpi_);
  while (SameWindowAt(window_, corner)) {
    corner.x += step;
    corner.y += step;
  }
  SetWindowPos(window_, nullptr, corner.x, corner.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  OnCreated();
  ShowWindow(window_, show);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  return true;
}

void TableWindow::CreateControls() {
  const std::span<const ui::ControlDef> controls = definition_.controls;
  controls_.assign(controls.size(), nullptr);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ui::ControlDef& control = controls[i];
    const wchar_t* window_class = L"STATIC";
    DWORD extended = 0;
    const DWORD style = ControlStyle(control, window_class, extended);
    const HWND handle = CreateWindowExW(
        extended, window_class, Utf8ToWide(control.caption).c_str(), style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + i)), Instance(), nullptr);
    controls_[i] = handle;
    if (handle == nullptr) continue;
    // An edit control takes 32 K characters from the keyboard or a paste; a seller pastes
    // thousands of links, or a cookie value of any length.
    if (control.Has(ui::kUnlimitedText)) SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);
    if (control.Has(ui::kTickedAtStart)) SendMessageW(handle, BM_SETCHECK, BST_CHECKED, 0);
    const bool edit = control.kind == ui::ControlKind::kEditBox ||
                      control.kind == ui::ControlKind::kMultiLineEditBox;
    if (edit && focus_ == nullptr) focus_ = handle;
  }
}

HMENU TableWindow::CreateMenuBar() const {
  if (definition_.menus.empty()) return nullptr;
  const HMENU bar = CreateMenu();
  if (bar == nullptr) return nullptr;
  // A menu defined as not visible is left out, with all its items.
  for (const ui::MenuDef& menu : definition_.menus) {
    if (!menu.visible) continue;
    const HMENU popup = CreatePopupMenu();
    if (popup == nullptr) continue;
    for (const ui::MenuItemDef& item : menu.items) {
      if (!item.visible) continue;
      AppendMenuW(popup, MF_STRING, kMenuCommandBase + static_cast<int>(item.action),
                  Utf8ToWide(item.caption).c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Utf8ToWide(menu.caption).c_str());
  }
  return bar;
}

void TableWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  HFONT old_fonts[4];
  std::copy(std::begin(fonts_), std::end(fonts_), std::begin(old_fonts));
  fonts_[static_cast<int>(ui::FontStyle::kDefault)] = CreateMessageFont(dpi);
  for (ui::FontStyle style :
       {ui::FontStyle::kYaHei, ui::FontStyle::kYaHeiBold, ui::FontStyle::kYaHeiLight}) {
    fonts_[static_cast<int>(style)] = CreateYaHei(style, dpi);
  }

  const std::span<const ui::ControlDef> controls = definition_.controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls_[i] == nullptr) continue;
    const ui::Rect& place = controls[i].place;
    MoveWindow(controls_[i], Scaled(place.left, dpi), Scaled(place.top, dpi),
               Scaled(place.width, dpi), Scaled(place.height, dpi), TRUE);
    SendMessageW(controls_[i], WM_SETFONT,
                 reinterpret_cast<WPARAM>(fonts_[static_cast<int>(controls[i].font)]), TRUE);
  }
  for (HFONT font : old_fonts) {
    if (font) DeleteObject(font);
  }

  for (HICON icon : {help_picture_, big_icon_, small_icon_}) {
    if (icon) DestroyIcon(icon);
  }
  help_picture_ = LoadIconSized(TESSALY_HELP_ICON, Scaled(16, dpi));
  big_icon_ = LoadIconSized(TESSALY_PROGRAM_ICON, SystemMetric(SM_CXICON, dpi));
  small_icon_ = LoadIconSized(TESSALY_PROGRAM_ICON, SystemMetric(SM_CXSMICON, dpi));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
}

HWND TableWindow::ControlWindow(const ui::ControlDef& control) const {
  const std::span<const ui::ControlDef> controls = definition_.controls;
  if (controls.empty() || &control < controls.data() ||
      &control >= controls.data() + controls.size()) {
    return nullptr;
  }
  const auto index = static_cast<std::size_t>(&control - controls.data());
  return index < controls_.size() ? controls_[index] : nullptr;
}

HWND TableWindow::ControlWindow(std::string_view name) const {
  const int index = ui::ControlIndex(definition_.id, name);
  return index >= 0 && static_cast<std::size_t>(index) < controls_.size()
             ? controls_[static_cast<std::size_t>(index)]
             : nullptr;
}

const ui::ControlDef* TableWindow::DefinitionOf(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control && control != nullptr) return &definition_.controls[i];
  }
  return nullptr;
}

void TableWindow::RunModal() {
  if (window_ == nullptr) return;
  BlockThreadWindows();
  MSG message;
  while (window_ != nullptr) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
  ReleaseBlockedWindows();
  if (window_ != nullptr) DestroyWindow(window_);
}

void TableWindow::BlockThreadWindows() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND other, LPARAM self_pointer) -> BOOL {
        auto* self = reinterpret_cast<TableWindow*>(self_pointer);
        if (other != self->window_ && IsWindowVisible(other) && IsWindowEnabled(other)) {
          EnableWindow(other, FALSE);
          self->blocked_.push_back(other);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void TableWindow::ReleaseBlockedWindows() {
  for (HWND other : blocked_) {
    if (IsWindow(other)) EnableWindow(other, TRUE);
  }
  blocked_.clear();
}

LRESULT CALLBACK TableWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<TableWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TableWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT TableWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;

    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wparam);
      const ui::ControlDef* control = DefinitionOf(reinterpret_cast<HWND>(lparam));
      if (control != nullptr && control->Has(ui::kRedText)) SetTextColor(dc, kLinkColour);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }

    case WM_SETCURSOR: {
      const ui::ControlDef* control = DefinitionOf(reinterpret_cast<HWND>(wparam));
      if (control != nullptr && control->Has(ui::kHandCursor) && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }

    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType != ODT_STATIC) break;
      FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
      if (help_picture_ != nullptr) {
        DrawIconEx(item->hDC, item->rcItem.left, item->rcItem.top, help_picture_,
                   item->rcItem.right - item->rcItem.left, item->rcItem.bottom - item->rcItem.top,
                   0, nullptr, DI_NORMAL);
      }
      return TRUE;
    }

    case WM_ACTIVATE:
      // Tab moves between controls as in a dialog; the focus comes back to where it was.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) focus_ = focus;
      } else if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_)) {
        SetFocus(focus_);
        return 0;
      }
      break;

    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wparam));
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   Scaled(definition_.outer_width, dpi_), Scaled(definition_.outer_height, dpi_),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }

    case WM_CLOSE:
      // The windows this one held back take input again before it goes, so that the
      // system hands the activation back to them.
      ReleaseBlockedWindows();
      DestroyWindow(window_);
      return 0;

    case WM_DESTROY:
      OnDestroyed();
      return 0;

    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void TableWindow::Command(int id, int code, HWND control) {
  if (control == nullptr) {
    // A menu item (code 0); Enter and Escape in a single-line box arrive here as IDOK and
    // IDCANCEL and do nothing.
    if (code != 0 || id < kMenuCommandBase) return;
    const auto action = static_cast<ui::Action>(id - kMenuCommandBase);
    if (ui::FindMenuItem(definition_.id, action) != nullptr) OnAction(action);
    return;
  }
  const ui::ControlDef* definition = DefinitionOf(control);
  if (definition == nullptr || definition->action == ui::Action::kNone) return;
  switch (definition->kind) {
    case ui::ControlKind::kButton:
      if (code == BN_CLICKED) OnAction(definition->action);
      break;
    case ui::ControlKind::kLabel:
    case ui::ControlKind::kLinkLabel:
    case ui::ControlKind::kPictureBox:
      // Each press counts, the second of a double click too.
      if (code == STN_CLICKED || code == STN_DBLCLK) OnAction(definition->action);
      break;
    default:
      break;
  }
}

int RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    Dispatch(message);
  }
  return static_cast<int>(message.wParam);
}

void DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

}  // namespace tessaly::win32
