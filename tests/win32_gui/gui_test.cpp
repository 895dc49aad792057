// The Windows app driven as a user would, with window messages from another
// process: its windows against the window table, a collection typed into the link
// box, the cookie editor, the wall and the version gate.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "app/win32/table_window.h"
#include "app/window_table.h"
#include "app_process.h"
#include "support/fixture_marketplace.h"
#include "support/temp_dir.h"
#include "support/wine.h"
#include "text/wide_text.h"

namespace tessaly::gui_testing {
namespace {

using namespace std::chrono_literals;
using testing::FixtureMarketplace;
using testing::FixtureProduct;
namespace ui = tessaly::ui;
namespace fs = std::filesystem;

// The program's own numbering of its windows' parts.
using win32::kControlIdBase;
using win32::kMenuCommandBase;
using win32::kWindowClass;
constexpr wchar_t kDialogClass[] = L"#32770";  // message boxes
constexpr int kMessageTextId = 0xFFFF;         // a message box's text

const std::wstring kFinished = L"下载完毕,点击查看！";
// Megabytes of text copied from a seller's notes.
constexpr std::size_t kBigPasteCharacters = 4u << 20;

HWND Control(HWND window, const ui::WindowDef& definition, std::string_view name) {
  return GetDlgItem(window, kControlIdBase + ui::ControlIndex(definition.id, name));
}

void Choose(HWND window, ui::Action action) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(kMenuCommandBase + static_cast<int>(action), 0), 0);
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// What Windows calls each kind of control.
std::wstring ClassFor(ui::ControlKind kind) {
  switch (kind) {
    case ui::ControlKind::kButton:
    case ui::ControlKind::kCheckBox:
      return L"Button";
    case ui::ControlKind::kEditBox:
    case ui::ControlKind::kMultiLineEditBox:
      return L"Edit";
    default:
      return L"Static";
  }
}

FixtureProduct Product(const std::string& id, const std::string& title) {
  FixtureProduct product;
  product.id = id;
  product.title = title;
  product.price = "9.90";
  product.gallery_images = {FixtureMarketplace::GalleryImage(id, 1),
                            FixtureMarketplace::GalleryImage(id, 2)};
  product.description_images = {FixtureMarketplace::DescriptionImage(id, 1)};
  product.skus = {{"红色", FixtureMarketplace::SkuImage(id, 1)}};
  return product;
}

std::wstring Link(const std::string& id) {
  return Utf8ToWide("https://detail.1688.com/offer/" + id + ".html");
}

// Puts the text on the clipboard and pastes it into the edit box, as a user does.
bool Paste(HWND edit, const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, copy);
  GlobalUnlock(memory);
  const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  DWORD_PTR ignored = 0;
  return placed && SendMessageTimeoutW(edit, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, 60000, &ignored);
}

// The addresses the app asked the shell to open in a browser, one a line
// (TESSALY_GUI_OPENED, written by scripts/wine-gui-run).
std::string OpenedInBrowser() {
  const wchar_t* file = _wgetenv(L"TESSALY_GUI_OPENED");
  if (file == nullptr) return "<not recorded>";
  std::ifstream in{std::filesystem::path(file)};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

LRESULT TextLength(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 20000, &length);
  return static_cast<LRESULT>(length);
}

class GuiTest : public ::testing::Test {
 protected:
  GuiTest() : seams_(marketplace_) {
    // The driver reads places in the screen's own pixels, as the app draws them.
    SetProcessDPIAware();
    // Chinese characters and a space, as a seller's desktop folder may have.
    run_directory_ = Utf8ToWide(files_.path()) + L"\\运行 目录";
    CreateDirectoryW(run_directory_.c_str(), nullptr);
  }

  // Starts the app and waits for its main window.
  HWND Start() {
    app_ = std::make_unique<AppProcess>(run_directory_);
    if (!app_->Started()) return nullptr;
    return app_->FindWindowTitled(Utf8ToWide(ui::kMainWindow.title), kWindowClass);
  }

  // The message box of the app with this caption: its text, after pressing OK.
  std::wstring AnswerMessageBox(std::wstring_view caption) {
    const HWND box = app_->FindWindowTitled(caption, kDialogClass);
    if (box == nullptr) return L"<no message box>";
    const std::wstring text = TextOf(GetDlgItem(box, kMessageTextId));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  }

  std::string RunFile(const std::string& relative) const {
    return testing::ReadNativeFile(files_.path() + "/运行 目录/" + relative);
  }

  FixtureMarketplace marketplace_;
  testing::MarketplaceSeams seams_;
  testing::TempDir files_;
  std::wstring run_directory_;
  std::unique_ptr<AppProcess> app_;
};

// The screen's dots per inch, as scripts/wine-gui-run set them up.
int ScreenDpi() {
  const wchar_t* dpi = _wgetenv(L"TESSALY_GUI_DPI");
  return dpi != nullptr && *dpi != L'\0' ? _wtoi(dpi) : 96;
}

// The table's pixels are those of a 96 DPI screen.
int Scaled(int pixels) { return MulDiv(pixels, ScreenDpi(), 96); }

// The window against its definition: outer size and places scaled by the DPI,
// frame, and each control of the right kind, caption and edit-box behaviour.
void ExpectAsDefined(HWND window, const ui::WindowDef& definition) {
  SCOPED_TRACE(std::string(definition.title) + " at " + std::to_string(ScreenDpi()) + " DPI");
  const SIZE size = OuterSize(window);
  EXPECT_EQ(size.cx, Scaled(definition.outer_width));
  EXPECT_EQ(size.cy, Scaled(definition.outer_height));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  for (const ui::ControlDef& control : definition.controls) {
    SCOPED_TRACE(std::string(control.name));
    const HWND handle = Control(window, definition, control.name);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(ClassOf(handle), ClassFor(control.kind));
    const RECT place = PlaceInParent(handle);
    EXPECT_EQ(place.left, Scaled(control.place.left));
    EXPECT_EQ(place.top, Scaled(control.place.top));
    EXPECT_EQ(place.right - place.left, Scaled(control.place.width));
    EXPECT_EQ(place.bottom - place.top, Scaled(control.place.height));
    if (control.kind != ui::ControlKind::kPictureBox) {
      EXPECT_EQ(WideToUtf8(TextOf(handle)), std::string(control.caption));
    }
    if (control.kind == ui::ControlKind::kCheckBox) {
      EXPECT_EQ(SendMessageW(handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    }
    if (control.kind == ui::ControlKind::kMultiLineEditBox) {
      const LONG edit = GetWindowLongW(handle, GWL_STYLE);
      EXPECT_TRUE(edit & ES_MULTILINE);
      // An edit box breaks lines exactly when it does not scroll sideways by itself.
      EXPECT_EQ((edit & ES_AUTOHSCROLL) == 0, control.Has(ui::kWordWrap));
      EXPECT_EQ((edit & WS_HSCROLL) != 0, control.Has(ui::kHorizontalScrollBar));
      EXPECT_EQ((edit & WS_VSCROLL) != 0, control.Has(ui::kVerticalScrollBar));
      EXPECT_EQ((edit & ES_WANTRETURN) != 0, control.Has(ui::kEnterNewLine));
      if (control.Has(ui::kUnlimitedText)) {
        EXPECT_GT(static_cast<unsigned long>(SendMessageW(handle, EM_GETLIMITTEXT, 0, 0)),
                  1ul << 30);
      }
    }
  }
}

// Every window is where the table puts it, as big as it says at 96 DPI, with each
// control of the right kind, caption and place.
TEST_F(GuiTest, EveryWindowAndControlIsWhereTheTablePutsIt) {
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  ExpectAsDefined(main, ui::kMainWindow);

  Choose(main, ui::Action::kOpenSettingsWindow);
  const HWND settings = app_->FindWindowTitled(Utf8ToWide(ui::kSettingsWindow.title), kWindowClass);
  ASSERT_NE(settings, nullptr);
  ExpectAsDefined(settings, ui::kSettingsWindow);
  SaveScreenshot(settings, "settings-window");
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings); }));

  Choose(main, ui::Action::kOpenAuthorWindow);
  const HWND author = app_->FindWindowTitled(Utf8ToWide(ui::kAuthorWindow.title), kWindowClass);
  ASSERT_NE(author, nullptr);
  ExpectAsDefined(author, ui::kAuthorWindow);
  SaveScreenshot(author, "author-window");
  PostMessageW(author, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(author); }));

  // The menu bar shows 设置 and 快捷 with their items; 关于 is not shown.
  const HMENU bar = GetMenu(main);
  ASSERT_NE(bar, nullptr);
  if (testing::RunningUnderWine()) {
    // Wine keeps a menu inside its own process; the screenshot shows the bar.
    std::printf("note: Wine cannot read another process's menu; its items are not checked\n");
    SaveScreenshot(main, "main-window");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app_->WaitForExit(10s), 0);
    return;
  }
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  for (int i = 0; i < 2; ++i) {
    wchar_t caption[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
    EXPECT_EQ(WideToUtf8(caption), std::string(ui::kMainMenus[i].caption));
    const HMENU popup = GetSubMenu(bar, i);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(ui::kMainMenus[i].items.size()));
  }
  SaveScreenshot(main, "main-window");

  // Closing the main window ends the program with code 0.
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_->WaitForExit(10s), 0);
}

TEST_F(GuiTest, CollectsTheLinksTypedIntoTheLinkBox) {
  marketplace_.AddProduct(Product("710000000001", "夏季新款连衣裙"));
  marketplace_.AddProduct(Product("710000000002", "陶瓷茶杯"));
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  const HWND links = Control(main, ui::kMainWindow, "编辑框1");
  const HWND status = Control(main, ui::kMainWindow, "标签1");
  const HWND start = Control(main, ui::kMainWindow, "按钮1");
  SetTextOf(links, L"第一个：" + Link("710000000001") + L"\r\n" + Link("710000000002") + L"\r\n");
  // Many quick clicks start one run only.
  for (int i = 0; i < 5; ++i) Click(start);

  ASSERT_TRUE(WaitUntil([&] { return TextOf(status) == kFinished; }, 60s))
      << WideToUtf8(TextOf(status));
  EXPECT_TRUE(IsWindowEnabled(start));
  EXPECT_EQ(marketplace_.ProductPageCookies().size(), 2u);
  for (const auto& [id, title] :
       {std::pair{"710000000001", "夏季新款连衣裙"}, std::pair{"710000000002", "陶瓷茶杯"}}) {
    const std::string folder = std::string("阿里巴巴/") + title + "/";
    EXPECT_EQ(RunFile(folder + "主图/2.jpg"),
              FixtureMarketplace::ImageBytes(FixtureMarketplace::GalleryImage(id, 2)));
    EXPECT_EQ(RunFile(folder + "SKU图/红色.jpg"),
              FixtureMarketplace::ImageBytes(FixtureMarketplace::SkuImage(id, 1)));
    EXPECT_FALSE(RunFile(folder + id + ".txt").empty());
  }
}

TEST_F(GuiTest, SavesTheCookieValueWithItsLineBreaks) {
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  Choose(main, ui::Action::kOpenSettingsWindow);
  const HWND settings = app_->FindWindowTitled(Utf8ToWide(ui::kSettingsWindow.title), kWindowClass);
  ASSERT_NE(settings, nullptr);
  SetTextOf(Control(settings, ui::kSettingsWindow, "编辑框1"), L"cna=abc;\r\n_tb_token_=t1\r\n");
  Click(Control(settings, ui::kSettingsWindow, "按钮1"));

  EXPECT_EQ(AnswerMessageBox(Utf8ToWide(ui::kSaveCaption)), Utf8ToWide(ui::kSaved));
  EXPECT_EQ(RunFile("阿里cookies.txt"), "cna=abc;\r\n_tb_token_=t1\r\n");

  // A long value, pasted, is saved whole. 64 K characters are far beyond any cookie
  // a browser keeps; Wine's word-wrapping edit box takes over a minute for a megabyte.
  const HWND editor = Control(settings, ui::kSettingsWindow, "编辑框1");
  std::wstring big;
  while (big.size() < (64u << 10)) big += L"item" + std::to_wstring(big.size()) + L"=abcdefghij; ";
  SetTextOf(editor, L"");
  ASSERT_TRUE(Paste(editor, big));
  Click(Control(settings, ui::kSettingsWindow, "按钮1"));
  EXPECT_EQ(AnswerMessageBox(Utf8ToWide(ui::kSaveCaption)), Utf8ToWide(ui::kSaved));
  EXPECT_EQ(RunFile("阿里cookies.txt"), WideToUtf8(big));
}

// A run directory where nothing can be made: the start-up folder is quietly not
// there, and a save says that it failed instead of 已保存.
TEST_F(GuiTest, ARunDirectoryThatTakesNothingIsToldOnlyOnSave) {
  // A file where the start-up folder goes, a folder where the cookie file goes.
  std::ofstream(std::filesystem::path(run_directory_ + L"\\阿里巴巴")) << "in the way";
  CreateDirectoryW((run_directory_ + L"\\阿里cookies.txt").c_str(), nullptr);
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(app_->Windows().size(), 1u);  // no message box
  Choose(main, ui::Action::kOpenSettingsWindow);
  const HWND settings = app_->FindWindowTitled(Utf8ToWide(ui::kSettingsWindow.title), kWindowClass);
  ASSERT_NE(settings, nullptr);
  SetTextOf(Control(settings, ui::kSettingsWindow, "编辑框1"), L"cna=abc");
  Click(Control(settings, ui::kSettingsWindow, "按钮1"));

  EXPECT_EQ(AnswerMessageBox(Utf8ToWide(ui::kSaveCaption)), Utf8ToWide(ui::kSaveFailed));
  EXPECT_EQ(RunFile("阿里巴巴"), "in the way");
}

TEST_F(GuiTest, TheWallOpensTheSettingsWindowByItself) {
  FixtureProduct walled = Product("710000000009", "被拦截");
  walled.wall = true;
  marketplace_.AddProduct(walled);
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  SetTextOf(Control(main, ui::kMainWindow, "编辑框1"), Link("710000000009"));
  Click(Control(main, ui::kMainWindow, "按钮1"));

  const HWND settings =
      app_->FindWindowTitled(Utf8ToWide(ui::kSettingsWindow.title), kWindowClass, 30s);
  ASSERT_NE(settings, nullptr);
  // Opened by the run, without owner.
  EXPECT_EQ(GetWindow(settings, GW_OWNER), nullptr);
  const HWND status = Control(main, ui::kMainWindow, "标签1");
  EXPECT_EQ(TextOf(status), L"遇到防采集，请更新cookies");
  // The run gave the button back before it opened the window.
  EXPECT_TRUE(IsWindowEnabled(Control(main, ui::kMainWindow, "按钮1")));
  // Its link leads to the blocked product.
  const HWND link = Control(settings, ui::kSettingsWindow, "标签4");
  PostMessageW(settings, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
               reinterpret_cast<LPARAM>(link));
  EXPECT_TRUE(WaitUntil([&] {
    return OpenedInBrowser().find("710000000009") != std::string::npos;
  })) << OpenedInBrowser();
  EXPECT_NE(OpenedInBrowser().find(WideToUtf8(Link("710000000009")) + "\n"), std::string::npos);
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings); }));
  // The run has ended: the next one meets the wall again and opens a new window.
  Click(Control(main, ui::kMainWindow, "按钮1"));
  EXPECT_NE(app_->FindWindowTitled(Utf8ToWide(ui::kSettingsWindow.title), kWindowClass, 30s),
            nullptr);
}

// A second run meets the wall while the first settings window is still open: the
// second window opens clear of the first, and closing it leaves the first.
TEST_F(GuiTest, ASecondSettingsWindowOpensClearOfTheFirst) {
  FixtureProduct walled = Product("710000000008", "被拦截");
  walled.wall = true;
  marketplace_.AddProduct(walled);
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  SetTextOf(Control(main, ui::kMainWindow, "编辑框1"), Link("710000000008"));
  const HWND start = Control(main, ui::kMainWindow, "按钮1");
  Click(start);
  const HWND first =
      app_->FindWindowTitled(Utf8ToWide(ui::kSettingsWindow.title), kWindowClass, 30s);
  ASSERT_NE(first, nullptr);
  Click(start);
  HWND second = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND window : app_->Windows()) {
          if (window != first && TextOf(window) == Utf8ToWide(ui::kSettingsWindow.title))
            second = window;
        }
        return second != nullptr;
      },
      30s));

  RECT one{};
  RECT two{};
  GetWindowRect(first, &one);
  GetWindowRect(second, &two);
  EXPECT_GT(two.left, one.left);
  EXPECT_GT(two.top, one.top);
  PostMessageW(second, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(second); }));
  EXPECT_TRUE(IsWindowVisible(first));
  PostMessageW(first, WM_CLOSE, 0, 0);
}

TEST_F(GuiTest, TheVersionGateSaysWhyItStops) {
  marketplace_.SetVersionText("2");
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  SetTextOf(Control(main, ui::kMainWindow, "编辑框1"), Link("710000000001"));
  Click(Control(main, ui::kMainWindow, "按钮1"));
  EXPECT_EQ(
      AnswerMessageBox(Utf8ToWide(ui::kDefaultMessageCaption)).rfind(L"有新版本了，建议更新", 0),
      0u);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_->WaitForExit(10s), 0);

  marketplace_.SetVersionReachable(false);
  main = Start();
  ASSERT_NE(main, nullptr);
  SetTextOf(Control(main, ui::kMainWindow, "编辑框1"), Link("710000000001"));
  Click(Control(main, ui::kMainWindow, "按钮1"));
  EXPECT_EQ(AnswerMessageBox(Utf8ToWide(ui::kDefaultMessageCaption)), L"网络似乎有问题！");
}

// A paste of megabytes, and a window closed while a picture is still coming: the
// program neither hangs nor crashes, and ends with code 0.
TEST_F(GuiTest, BigPastesAndClosingDuringARunEndCleanly) {
  FixtureProduct product = Product("710000000003", "慢慢来");
  marketplace_.AddProduct(product);
  const std::string slow = FixtureMarketplace::GalleryImage(product.id, 1);
  const std::size_t host = slow.find("://") + 3;
  const std::size_t path = slow.find('/', host);
  marketplace_.Server().Handle(slow.substr(host, path - host), slow.substr(path),
                               [](const auto&, auto& response) {
                                 std::this_thread::sleep_for(3s);
                                 response.set_content("late", "image/jpeg");
                               });
  const HWND main = Start();
  ASSERT_NE(main, nullptr);
  const HWND links = Control(main, ui::kMainWindow, "编辑框1");
  std::wstring paste = Link(product.id) + L"\r\n";
  const std::wstring filler = L"不是链接的一行文字，0123456789 abcdefghij\r\n";
  while (paste.size() < kBigPasteCharacters) paste += filler;
  ASSERT_TRUE(Paste(links, paste));
  EXPECT_EQ(TextLength(links), static_cast<LRESULT>(paste.size()));
  Click(Control(main, ui::kMainWindow, "按钮1"));
  const HWND status = Control(main, ui::kMainWindow, "标签1");
  ASSERT_TRUE(WaitUntil([&] {
    return TextOf(status).find(L"正在下载第 1 个") != std::wstring::npos;
  })) << WideToUtf8(TextOf(status));

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_->WaitForExit(10s), 0);
}

}  // namespace
}  // namespace tessaly::gui_testing
