#include "app/qt/settings_window.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_text.h"
#include "collect/addresses.h"
#include "collect/cookie_page_address.h"
#include "text/gbk.h"

namespace tessaly::testing {
namespace {

const std::string kCookieFile = "阿里cookies.txt";

class SettingsWindowTest : public AppTest {
 protected:
  std::string CookieFile() const { return InRunDirectory(kCookieFile); }

  void Save(SettingsWindow& window) {
    window.findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
  }

  // Opens a window on the file, saves it untouched and gives the file back.
  std::string LoadAndSave(const std::string& content) {
    WriteNativeFile(CookieFile(), content);
    SettingsWindow window;
    Save(window);
    return ReadNativeFile(CookieFile());
  }

  void ExpectSavedMessages(std::size_t count) {
    const auto messages = desktop_.Messages();
    ASSERT_EQ(messages.size(), count);
    for (const auto& message : messages) {
      EXPECT_EQ(message.text, QStringLiteral("已保存"));
      EXPECT_EQ(message.caption, QStringLiteral("提示"));
    }
  }
};

TEST_F(SettingsWindowTest, ControlsHaveTheirNamesCaptionsPlacesAndSizes) {
  struct Expected {
    const char* name;
    const char* caption;
    QRect place;
  };
  const Expected controls[] = {
      {"标签1", "阿里巴巴cookies", {7, 6, 256, 40}},
      {"图片框1", "", {134, 19, 16, 16}},
      {"标签3", "教程视频", {328, 14, 104, 24}},
      {"编辑框1", "", {8, 48, 400, 208}},
      {"标签2",
       "注：因为阿里的防采集机制，故此需要cookies，无需每次，失效了再换即可。",
       {7, 266, 288, 46}},
      {"按钮1", "保存", {320, 272, 88, 40}},
      {"标签4", "打开取COOKIES页面", {8, 320, 216, 16}},
  };
  SettingsWindow window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("设置"));
  EXPECT_EQ(window.size(), QSize(424, 383));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  for (const Expected& expected : controls) {
    SCOPED_TRACE(expected.name);
    auto* control = window.findChild<QWidget*>(QString::fromUtf8(expected.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), expected.place);
    if (auto* label = qobject_cast<QLabel*>(control); label && *expected.caption) {
      EXPECT_EQ(label->text(), QString::fromUtf8(expected.caption));
    }
  }
  // The note is far wider than its box: it breaks into lines, and the box holds them all.
  auto* note = window.findChild<QLabel*>(QStringLiteral("标签2"));
  EXPECT_TRUE(note->wordWrap());
  EXPECT_LE(note->heightForWidth(note->width()), note->height());
  for (const char* link : {"标签3", "标签4"}) {
    auto* label = window.findChild<QLabel*>(QString::fromUtf8(link));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
  }
  EXPECT_EQ(window.Editor().lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(window.Editor().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(window.Editor().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  PressLeft(*window.findChild<QLabel*>(QStringLiteral("图片框1")));
  EXPECT_TRUE(desktop_.Messages().empty());
}

TEST_F(SettingsWindowTest, UneditedValueIsSavedBackByteForByte) {
  const std::string values[] = {
      "cna=abc; _tb_token_=xyz",
      "a=1\r\nb=2",
      "a=1\nb=2",
      "a\r\nb\nc\rd\r\n",
      "name=\xC5\xAE\xD7\xB0",  // 女装
      "\x81",                   // a lead byte without its trail byte
  };
  for (const std::string& value : values) {
    SCOPED_TRACE(value);
    EXPECT_EQ(LoadAndSave(value), value);
  }
  ExpectSavedMessages(std::size(values));
}

TEST_F(SettingsWindowTest, ValueLoadsUpToItsFirstZeroByte) {
  WriteNativeFile(CookieFile(), std::string("a=1\0b=2", 7));
  SettingsWindow window;
  EXPECT_EQ(window.Editor().toPlainText(), QStringLiteral("a=1"));
}

TEST_F(SettingsWindowTest, EmptyEditorSavesAnEmptyFile) {
  SettingsWindow window;  // no file yet
  EXPECT_TRUE(window.Editor().toPlainText().isEmpty());
  Save(window);
  EXPECT_TRUE(NativeExists(CookieFile()));
  EXPECT_EQ(std::filesystem::file_size(CookieFile()), 0u);
  ExpectSavedMessages(1);

  WriteNativeFile(CookieFile(), "old=1");
  SettingsWindow again;
  again.Editor().clear();
  Save(again);
  EXPECT_EQ(std::filesystem::file_size(CookieFile()), 0u);
}

TEST_F(SettingsWindowTest, EditedValueIsWrittenInGbk) {
  struct Case {
    std::string file;  // before the window opens
    QString typed;
    std::string saved;
  };
  const Case cases[] = {
      {"", QStringLiteral("a=1\nb=2"), "a=1\nb=2"},
      {"x=1\r\ny=2", QStringLiteral("a=1\nb=2\nc=3"), "a=1\r\nb=2\r\nc=3"},
      {"", QStringLiteral("名字=女装"), "\xC3\xFB\xD7\xD6=\xC5\xAE\xD7\xB0"},
      // GBK has no emoji: it becomes "?", the rest is kept.
      {"", QStringLiteral("a=\U0001F600b"), "a=?b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved);
    WriteNativeFile(CookieFile(), c.file);
    SettingsWindow window;
    window.Editor().setPlainText(c.typed);
    Save(window);
    EXPECT_EQ(ReadNativeFile(CookieFile()), c.saved);

    SettingsWindow reopened;
    EXPECT_EQ(reopened.Editor().toPlainText(),
              ToQString(c.saved).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        << "the saved value shows again";
  }
}

TEST_F(SettingsWindowTest, UnwritableFileSaysSoAndKeepsTheWindowOpen) {
  std::filesystem::create_directory(CookieFile());  // a folder where the file should be
  SettingsWindow window;
  window.show();
  window.Editor().setPlainText(QStringLiteral("a=1"));
  Save(window);
  const auto messages = desktop_.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, QStringLiteral("保存失败！"));
  EXPECT_EQ(messages[0].caption, QStringLiteral("提示"));
  EXPECT_TRUE(NativeIsDirectory(CookieFile()));
  EXPECT_TRUE(window.isVisible());
}

TEST_F(SettingsWindowTest, EachOpeningFromTheMenuShowsTheSavedValue) {
  WriteNativeFile(CookieFile(), "saved=1");
  MainWindow main;
  QAction* configure = nullptr;
  for (QAction* action : main.findChildren<QAction*>()) {
    if (action->text() == QStringLiteral("配置Cookies")) configure = action;
  }
  ASSERT_NE(configure, nullptr);

  QString first;
  CloseWhenOpen<SettingsWindow>([&](SettingsWindow& window) {
    first = window.Editor().toPlainText();
    window.Editor().setPlainText(QStringLiteral("typed but not saved"));
  });
  configure->trigger();  // returns once the window is closed
  QString second;
  CloseWhenOpen<SettingsWindow>(
      [&](SettingsWindow& window) { second = window.Editor().toPlainText(); });
  configure->trigger();

  EXPECT_EQ(first, QStringLiteral("saved=1"));
  EXPECT_EQ(second, QStringLiteral("saved=1"));
  EXPECT_EQ(ReadNativeFile(CookieFile()), "saved=1");
}

TEST_F(SettingsWindowTest, CookieLinkOpensTheHomePageThenTheStoredProductPage) {
  const QString home = ToQString(HomePageAddress(true));
  {
    SettingsWindow window;
    PressLeft(*window.findChild<QLabel*>(QStringLiteral("标签4")));
  }
  EXPECT_EQ(GetCookiePageAddress(), HomePageAddress(true));
  // A run that met the anti-scraping wall stores its product page.
  SetCookiePageAddress("https://detail.1688.com/offer/123456789012.html");
  {
    SettingsWindow window;
    PressLeft(*window.findChild<QLabel*>(QStringLiteral("标签4")));
    PressLeft(*window.findChild<QLabel*>(QStringLiteral("标签3")));
  }
  EXPECT_EQ(
      desktop_.Urls(),
      (std::vector<QString>{home, QStringLiteral("https://detail.1688.com/offer/123456789012.html"),
                            ToQString(ReleasePageAddress())}));
  EXPECT_TRUE(home.startsWith(QStringLiteral("https://")));
}

}  // namespace
}  // namespace tessaly::testing
