#include "app/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/qt/author_window.h"
#include "app/qt/qt_text.h"
#include "collect/addresses.h"
#include "support/temp_dir.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly::testing {
namespace {

const QString kHomeFolder = QStringLiteral("阿里巴巴");

QString Caption(const QWidget& control) {
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  if (auto* line = qobject_cast<const QLineEdit*>(&control)) return line->text();
  if (auto* edit = qobject_cast<const QPlainTextEdit*>(&control)) return edit->toPlainText();
  return {};
}

QAction* ActionNamed(QWidget& window, const QString& text) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, ControlsHaveTheirNamesCaptionsPlacesAndSizes) {
  struct Expected {
    const char* name;
    const char* caption;
    QRect place;
  };
  const Expected controls[] = {
      {"标签2", "宝贝链接", {8, 10, 236, 24}},
      {"图片框1", "", {80, 15, 16, 16}},
      {"按钮2", "清空列表", {904, 5, 96, 32}},
      {"编辑框1", "", {8, 43, 992, 496}},
      {"标签1", "", {10, 558, 344, 40}},
      {"标签3", "分类名(可不填)", {626, 566, 120, 32}},
      {"编辑框2", "", {752, 560, 104, 40}},
      {"按钮1", "开始采集", {881, 559, 120, 40}},
      {"选择框1", "主图", {14, 612, 104, 32}},
      {"选择框2", "SKU图", {101, 612, 104, 32}},
      {"选择框3", "描述图", {199, 612, 104, 32}},
      {"选择框4", "宝贝信息（标题、货号、链接、ID、价格）", {308, 612, 516, 32}},
      {"标签4", "版本：1.0", {920, 622, 104, 48}},
  };
  MainWindow window;
  window.show();
  for (const Expected& expected : controls) {
    SCOPED_TRACE(expected.name);
    auto* control = window.findChild<QWidget*>(QString::fromUtf8(expected.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Caption(*control), QString::fromUtf8(expected.caption));
    EXPECT_EQ(control->geometry(), expected.place);
    EXPECT_EQ(control->parentWidget(), window.centralWidget());
  }
  for (QCheckBox* box : window.findChildren<QCheckBox*>()) EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(window.findChildren<QCheckBox*>().size(), 4);
  EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("图片框1"))->pixmap().isNull());
}

TEST_F(MainWindowTest, WindowIsFixedAndEveryControlFitsBelowTheMenuBar) {
  MainWindow window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessaly by：Morvane"));
  EXPECT_EQ(window.size(), QSize(1018, 731));
  EXPECT_GE(window.centralWidget()->y(), window.menuBar()->geometry().bottom());
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  const QRect client = window.centralWidget()->rect();
  for (QWidget* control :
       window.centralWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    // 标签4 is defined wider than the window; only its empty right end is cut.
    EXPECT_LE(control->geometry().bottom(), client.bottom()) << control->objectName().toStdString();
  }
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgram) {
  MainWindow window;
  window.show();
  bool closed = false;
  QObject::connect(&window, &MainWindow::closed, [&] { closed = true; });
  window.close();
  EXPECT_TRUE(closed);
}

TEST_F(MainWindowTest, FontsAndLinkBoxLook) {
  MainWindow window;
  for (const char* name : {"标签2", "按钮1", "选择框1", "选择框2", "选择框3", "选择框4"}) {
    SCOPED_TRACE(name);
    const QFont font = window.findChild<QWidget*>(QString::fromUtf8(name))->font();
    EXPECT_EQ(font.pixelSize(), 15);
    EXPECT_EQ(font.weight(), QFont::Normal);
  }
  EXPECT_EQ(window.StatusLabel().font().weight(), QFont::Bold);
  EXPECT_EQ(window.StatusLabel().cursor().shape(), Qt::PointingHandCursor);
  QPlainTextEdit& links = window.LinkBox();
  EXPECT_EQ(links.font().weight(), QFont::Light);
  EXPECT_EQ(links.font().pixelSize(), 15);
  EXPECT_EQ(links.lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(links.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(links.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(MainWindowTest, StartUpCreatesTheDefaultCategoryFolder) {
  MainWindow window;
  EXPECT_TRUE(NativeIsDirectory(InRunDirectory("阿里巴巴")));
  EXPECT_TRUE(desktop_.Messages().empty());
}

TEST_F(MainWindowTest, StartUpLeavesAnExistingFolderOrFileOfThatNameAlone) {
  {
    WriteNativeFile(InRunDirectory("阿里巴巴"), "not a folder");
    MainWindow window;
    EXPECT_FALSE(NativeIsDirectory(InRunDirectory("阿里巴巴")));
    EXPECT_EQ(ReadNativeFile(InRunDirectory("阿里巴巴")), "not a folder");
  }
  TempDir other(true);
  ASSERT_TRUE(MakeDirectory(ConcatText(other.gbk_path(), "/阿里巴巴"_gbk)));
  WriteNativeFile(other.Join("阿里巴巴/kept.txt"), "kept");
  MainWindow window;
  EXPECT_EQ(ReadNativeFile(other.Join("阿里巴巴/kept.txt")), "kept");
  EXPECT_TRUE(desktop_.Messages().empty());
}

TEST_F(MainWindowTest, ClearButtonEmptiesOnlyTheLinkBox) {
  MainWindow window;
  auto* clear = window.findChild<QPushButton*>(QStringLiteral("按钮2"));
  clear->click();
  EXPECT_TRUE(window.LinkBox().toPlainText().isEmpty());

  window.LinkBox().setPlainText(
      QStringLiteral("https://detail.1688.com/offer/123456789012.html\n"));
  window.CategoryBox().setText(QStringLiteral("女装"));
  window.CheckBoxOf(CheckBox::kSkuImages).setChecked(false);
  clear->click();
  EXPECT_TRUE(window.LinkBox().toPlainText().isEmpty());
  EXPECT_EQ(window.CategoryBox().text(), QStringLiteral("女装"));
  EXPECT_FALSE(window.CheckBoxOf(CheckBox::kSkuImages).isChecked());
  EXPECT_TRUE(window.CheckBoxOf(CheckBox::kMainImages).isChecked());
}

TEST_F(MainWindowTest, StatusLabelAndMenuOpenTheRunDirectoryItself) {
  MainWindow window;  // "阿里巴巴" now exists below the run directory
  PressLeft(window.StatusLabel());
  ActionNamed(window, QStringLiteral("打开下载目录"))->trigger();
  EXPECT_EQ(desktop_.Paths(), (std::vector<QString>{RunDirectoryPath(), RunDirectoryPath()}));
}

TEST_F(MainWindowTest, HelpPictureShowsTheLinkHint) {
  MainWindow window;
  PressLeft(*window.findChild<QLabel*>(QStringLiteral("图片框1")));
  const auto messages = desktop_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            QStringLiteral("小提示：仅支持阿里巴巴的宝贝链接，不支持国际站，其他的链接是无效的喔，"
                           "链接一行一个。"));
  EXPECT_EQ(messages[0].caption, QStringLiteral("温馨提示"));
  EXPECT_TRUE(messages[0].modal);
}

TEST_F(MainWindowTest, MenuBarShowsSettingsAndShortcutsOnly) {
  MainWindow window;
  window.show();
  QStringList shown;
  QStringList defined;
  for (QAction* action : window.menuBar()->actions()) {
    defined << action->text();
    if (action->isVisible()) shown << action->text();
  }
  EXPECT_EQ(shown, (QStringList{QStringLiteral("设置"), QStringLiteral("快捷")}));
  EXPECT_EQ(defined,
            (QStringList{QStringLiteral("设置"), QStringLiteral("快捷"), QStringLiteral("关于")}));

  QMenu* about = window.menuBar()->actions().at(2)->menu();
  ASSERT_NE(about, nullptr);
  QStringList items;
  for (QAction* action : about->actions()) items << action->text();
  EXPECT_EQ(items, (QStringList{QStringLiteral("作者信息"), QStringLiteral("当前版本:1.0")}));
}

TEST_F(MainWindowTest, HomePageItemOpensThePlainHttpHomePage) {
  MainWindow window;
  ActionNamed(window, QStringLiteral("阿里巴巴官网"))->trigger();
  EXPECT_EQ(desktop_.Urls(), std::vector<QString>{ToQString(HomePageAddress(false))});
  EXPECT_TRUE(desktop_.Urls()[0].startsWith(QStringLiteral("http://")));
}

TEST_F(MainWindowTest, HiddenAuthorItemStillOpensTheAuthorWindow) {
  MainWindow window;
  QString caption;
  QRect place;
  QSize size;
  CloseWhenOpen<AuthorWindow>([&](AuthorWindow& author) {
    auto* label = author.findChild<QLabel*>(QStringLiteral("标签1"));
    caption = label->text();
    place = label->geometry();
    size = author.size();
    EXPECT_EQ(author.windowTitle(), QStringLiteral("作者信息"));
  });
  ActionNamed(window, QStringLiteral("作者信息"))->trigger();
  EXPECT_EQ(caption, QStringLiteral("作者：Morvane\n"));
  EXPECT_EQ(place, QRect(144, 104, 152, 40));
  EXPECT_EQ(size, QSize(423, 317));
}

}  // namespace
}  // namespace tessaly::testing
