#pragma once

#include <span>
#include <string_view>

// The one definition of the program's windows: titles, sizes, controls, fonts, the menu
// tree and the fixed texts the windows show. Every front end builds its windows from
// this table, whatever its toolkit, so no caption or place is written anywhere else.
//
// Texts are UTF-8 (each toolkit converts them: Qt with QString::fromUtf8, Win32 with
// MultiByteToWideChar(CP_UTF8)); inside the core they become GBK with Utf8ToGbk. Pixels
// are those of a 96 DPI screen; a front end scales them by its screen's DPI.
namespace tessaly::ui {

enum class WindowId { kMain, kSettings, kAuthor };

enum class ControlKind {
  kLabel,             // static text; a caption too long for the box breaks between words
  kLinkLabel,         // static text that opens an address when pressed
  kPictureBox,        // the help picture: a 16 x 16 question mark in a circle
  kButton,            // push button
  kEditBox,           // single line
  kMultiLineEditBox,  // see the wrap, scroll and Enter flags
  kCheckBox,          // caption right of the box
};

// The font of a control. The faces are below; kDefault is the toolkit's own dialog font.
enum class FontStyle { kDefault, kYaHei, kYaHeiBold, kYaHeiLight };

enum ControlFlag : unsigned {
  kWordWrap = 1u << 0,             // multi-line: lines break at the box's width
  kHorizontalScrollBar = 1u << 1,  // multi-line: long lines scroll sideways
  kVerticalScrollBar = 1u << 2,
  kEnterNewLine = 1u << 3,   // Enter starts a new line instead of pressing a button
  kUnlimitedText = 1u << 4,  // a paste of megabytes is taken whole
  kHandCursor = 1u << 5,
  kRedText = 1u << 6,
  kTickedAtStart = 1u << 7,  // check box
};

// What a control's press or click, or a menu item, does. The front ends map each to
// their handler; kNone does nothing.
enum class Action {
  kNone,
  kStartRun,            // starts one collection run (the core's StartButtonClick)
  kClearLinks,          // empties the link box
  kOpenRunDirectory,    // the program's folder in the file manager
  kShowLinkHint,        // message box kLinkHint / kLinkHintCaption
  kOpenSettingsWindow,  // modal, no owner
  kOpenHomePage,        // the marketplace's home page over plain HTTP
  kOpenAuthorWindow,    // modal, no owner
  kSaveCookies,         // the cookie editor into the cookie file; kSaved or kSaveFailed
  kOpenCookiePage,      // the cookie page address (the home page over HTTPS when empty)
  kOpenTutorial,        // the release page
};

// Left, top, width and height; a control's place is in its window's client area (below
// the menu bar).
struct Rect {
  int left;
  int top;
  int width;
  int height;
};

struct ControlDef {
  std::string_view name;  // as the window's definition names it: "编辑框1", "按钮1", ...
  ControlKind kind;
  std::string_view caption;  // at start; empty for edit boxes and the picture box
  Rect place;
  FontStyle font;
  unsigned flags;
  Action action;

  constexpr bool Has(ControlFlag flag) const { return (flags & flag) != 0; }
};

struct MenuItemDef {
  std::string_view caption;
  bool visible;
  Action action;
};

// A popup of the menu bar. One whose `visible` is false belongs to the definition, with
// its items and their actions, but is never shown.
struct MenuDef {
  std::string_view caption;
  bool visible;
  std::span<const MenuItemDef> items;
};

struct WindowDef {
  WindowId id;
  std::string_view title;
  // The window's outer size: title bar, menu bar and frame included. Every window has a
  // fixed border, a minimise and a close button and no maximise button, and opens
  // centred on the screen.
  int outer_width;
  int outer_height;
  std::span<const ControlDef> controls;  // in creation (and tab) order
  std::span<const MenuDef> menus;        // the menu bar, in order; empty: none
};

// --- Fonts --------------------------------------------------------------------------

inline constexpr std::string_view kYaHeiFamily = "微软雅黑";
// The Light weight is a face of its own where GDI lists fonts; Qt reaches it through
// kYaHeiFamily with kLightWeight.
inline constexpr std::string_view kYaHeiLightFace = "微软雅黑 Light";
// The character height (the em, without the leading), as Qt's pixel size and as GDI's
// negative font height give it.
inline constexpr int kYaHeiPixelHeight = 15;
// Weights on the scale that Qt 6's QFont::Weight and GDI's FW_ values share.
inline constexpr int kLightWeight = 300;
inline constexpr int kNormalWeight = 400;
inline constexpr int kBoldWeight = 700;

constexpr int WeightOf(FontStyle style) {
  switch (style) {
    case FontStyle::kYaHeiBold:
      return kBoldWeight;
    case FontStyle::kYaHeiLight:
      return kLightWeight;
    default:
      return kNormalWeight;
  }
}

// --- Fixed texts the windows show ---------------------------------------------------

inline constexpr std::string_view kLinkHint =
    "小提示：仅支持阿里巴巴的宝贝链接，不支持国际站，其他的链接是无效的喔，链接一行一个。";
inline constexpr std::string_view kLinkHintCaption = "温馨提示";
inline constexpr std::string_view kSaved = "已保存";
// A write that failed is not reported as saved: the user would go on with a cookie
// value that the next run never reads.
inline constexpr std::string_view kSaveFailed = "保存失败！";
inline constexpr std::string_view kSaveCaption = "提示";
// The caption of a message box that names none.
inline constexpr std::string_view kDefaultMessageCaption = "信息：";
// The folder that the main window's start-up makes in the program's folder.
inline constexpr std::string_view kStartupFolder = "阿里巴巴";

// --- The windows --------------------------------------------------------------------

inline constexpr ControlDef kMainControls[] = {
    {"标签2",
     ControlKind::kLabel,
     "宝贝链接",
     {8, 10, 236, 24},
     FontStyle::kYaHei,
     0,
     Action::kNone},
    {"图片框1",
     ControlKind::kPictureBox,
     "",
     {80, 15, 16, 16},
     FontStyle::kDefault,
     0,
     Action::kShowLinkHint},
    {"按钮2",
     ControlKind::kButton,
     "清空列表",
     {904, 5, 96, 32},
     FontStyle::kDefault,
     0,
     Action::kClearLinks},
    {"编辑框1",
     ControlKind::kMultiLineEditBox,
     "",
     {8, 43, 992, 496},
     FontStyle::kYaHeiLight,
     kHorizontalScrollBar | kVerticalScrollBar | kEnterNewLine | kUnlimitedText,
     Action::kNone},
    {"标签1",
     ControlKind::kLabel,
     "",
     {10, 558, 344, 40},
     FontStyle::kYaHeiBold,
     kHandCursor,
     Action::kOpenRunDirectory},
    {"标签3",
     ControlKind::kLabel,
     "分类名(可不填)",
     {626, 566, 120, 32},
     FontStyle::kDefault,
     0,
     Action::kNone},
    {"编辑框2",
     ControlKind::kEditBox,
     "",
     {752, 560, 104, 40},
     FontStyle::kDefault,
     0,
     Action::kNone},
    {"按钮1",
     ControlKind::kButton,
     "开始采集",
     {881, 559, 120, 40},
     FontStyle::kYaHei,
     0,
     Action::kStartRun},
    {"选择框1",
     ControlKind::kCheckBox,
     "主图",
     {14, 612, 104, 32},
     FontStyle::kYaHei,
     kTickedAtStart,
     Action::kNone},
    {"选择框2",
     ControlKind::kCheckBox,
     "SKU图",
     {101, 612, 104, 32},
     FontStyle::kYaHei,
     kTickedAtStart,
     Action::kNone},
    {"选择框3",
     ControlKind::kCheckBox,
     "描述图",
     {199, 612, 104, 32},
     FontStyle::kYaHei,
     kTickedAtStart,
     Action::kNone},
    {"选择框4",
     ControlKind::kCheckBox,
     "宝贝信息（标题、货号、链接、ID、价格）",
     {308, 612, 516, 32},
     FontStyle::kYaHei,
     kTickedAtStart,
     Action::kNone},
    {"标签4",
     ControlKind::kLabel,
     "版本：1.0",
     {920, 622, 104, 48},
     FontStyle::kDefault,
     0,
     Action::kNone},
};

inline constexpr MenuItemDef kSettingsMenuItems[] = {
    {"配置Cookies", true, Action::kOpenSettingsWindow},
};
inline constexpr MenuItemDef kShortcutMenuItems[] = {
    {"打开下载目录", true, Action::kOpenRunDirectory},
    {"阿里巴巴官网", true, Action::kOpenHomePage},
};
// Defined with its actions, but nothing in the program shows it.
inline constexpr MenuItemDef kAboutMenuItems[] = {
    {"作者信息", false, Action::kOpenAuthorWindow},
    {"当前版本:1.0", false, Action::kNone},
};
inline constexpr MenuDef kMainMenus[] = {
    {"设置", true, kSettingsMenuItems},
    {"快捷", true, kShortcutMenuItems},
    {"关于", false, kAboutMenuItems},
};

inline constexpr ControlDef kSettingsControls[] = {
    {"标签1",
     ControlKind::kLabel,
     "阿里巴巴cookies",
     {7, 6, 256, 40},
     FontStyle::kDefault,
     0,
     Action::kNone},
    // The same picture as on the main window; here a press does nothing.
    {"图片框1",
     ControlKind::kPictureBox,
     "",
     {134, 19, 16, 16},
     FontStyle::kDefault,
     0,
     Action::kNone},
    {"标签3",
     ControlKind::kLinkLabel,
     "教程视频",
     {328, 14, 104, 24},
     FontStyle::kDefault,
     kRedText | kHandCursor,
     Action::kOpenTutorial},
    {"编辑框1",
     ControlKind::kMultiLineEditBox,
     "",
     {8, 48, 400, 208},
     FontStyle::kDefault,
     kWordWrap | kVerticalScrollBar | kEnterNewLine | kUnlimitedText,
     Action::kNone},
    {"标签2",
     ControlKind::kLabel,
     "注：因为阿里的防采集机制，故此需要cookies，无需每次，失效了再换即可。",
     {7, 266, 288, 46},
     FontStyle::kDefault,
     0,
     Action::kNone},
    {"按钮1",
     ControlKind::kButton,
     "保存",
     {320, 272, 88, 40},
     FontStyle::kDefault,
     0,
     Action::kSaveCookies},
    {"标签4",
     ControlKind::kLinkLabel,
     "打开取COOKIES页面",
     {8, 320, 216, 16},
     FontStyle::kDefault,
     kRedText | kHandCursor,
     Action::kOpenCookiePage},
};

inline constexpr ControlDef kAuthorControls[] = {
    {"标签1",
     ControlKind::kLabel,
     "作者：Morvane\r\n",
     {144, 104, 152, 40},
     FontStyle::kYaHei,
     0,
     Action::kNone},
};

inline constexpr WindowDef kMainWindow{
    WindowId::kMain, "Tessaly by：Morvane", 1018, 731, kMainControls, kMainMenus};
inline constexpr WindowDef kSettingsWindow{WindowId::kSettings, "设置", 424, 383,
                                           kSettingsControls,   {}};
inline constexpr WindowDef kAuthorWindow{WindowId::kAuthor, "作者信息", 423, 317,
                                         kAuthorControls,   {}};

inline constexpr const WindowDef* kWindows[] = {&kMainWindow, &kSettingsWindow, &kAuthorWindow};

// --- Lookups ------------------------------------------------------------------------

constexpr const WindowDef& Window(WindowId id) {
  switch (id) {
    case WindowId::kSettings:
      return kSettingsWindow;
    case WindowId::kAuthor:
      return kAuthorWindow;
    default:
      return kMainWindow;
  }
}

// The control of that name, or nullptr: for names that come from outside the program
// (a test driver reading the table).
const ControlDef* FindControl(WindowId window, std::string_view name);
// Its position in the window's `controls`, or -1.
int ControlIndex(WindowId window, std::string_view name);

namespace detail {
// Never defined: reaching it in a constant evaluation is the compile error of a name
// that the window does not have.
void NoSuchControlInWindow();
}  // namespace detail

// The control of that name, looked up while compiling: a misspelt name does not build.
//   constexpr const ui::ControlDef& kLinkBox = ui::Control(ui::WindowId::kMain, "编辑框1");
consteval const ControlDef& Control(WindowId window, std::string_view name) {
  for (const ControlDef& control : Window(window).controls) {
    if (control.name == name) return control;
  }
  detail::NoSuchControlInWindow();
  return Window(window).controls.front();
}

// The menu item that carries `action`, or nullptr.
const MenuItemDef* FindMenuItem(WindowId window, Action action);

// --- The main window's controls that a collection run reads and writes ---------------

inline constexpr const ControlDef& kLinkBox = Control(WindowId::kMain, "编辑框1");
inline constexpr const ControlDef& kCategoryBox = Control(WindowId::kMain, "编辑框2");
inline constexpr const ControlDef& kStatusLabel = Control(WindowId::kMain, "标签1");
inline constexpr const ControlDef& kStartButton = Control(WindowId::kMain, "按钮1");
// In the order of the core's CheckBox, from kMainImages.
inline constexpr const ControlDef* kCheckBoxes[] = {
    &Control(WindowId::kMain, "选择框1"),
    &Control(WindowId::kMain, "选择框2"),
    &Control(WindowId::kMain, "选择框3"),
    &Control(WindowId::kMain, "选择框4"),
};

}  // namespace tessaly::ui
