// Qt's own texts in Chinese, message boxes that show their whole caption, and settings
// windows that never hide one another.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "app/app_fixture.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/qt_text.h"
#include "app/qt/qt_window_operations.h"
#include "app/qt/settings_window.h"
#include "text/gbk.h"

namespace tessaly::testing {
namespace {

// The real boxes instead of the recorder; each is inspected once it shows, then closed.
class DialogLookTest : public AppTest {
 protected:
  DialogLookTest() { SetDesktopServices(nullptr); }

  void InspectBox(const Text& caption, const std::function<void(QMessageBox&)>& inspect) {
    bool seen = false;
    CloseWhenOpen<QMessageBox>([&](QMessageBox& box) {
      seen = true;
      inspect(box);
    });
    QtDesktop().ShowMessage("已保存"_gbk, 0, caption);  // returns once the box is closed
    EXPECT_TRUE(seen);
  }
};

QStringList MenuTexts(QWidget& edit) {
  std::unique_ptr<QMenu> menu;
  if (auto* line = qobject_cast<QLineEdit*>(&edit)) menu.reset(line->createStandardContextMenu());
  if (auto* text = qobject_cast<QPlainTextEdit*>(&edit)) {
    menu.reset(text->createStandardContextMenu());
  }
  QStringList texts;
  if (menu) {
    for (const QAction* action : menu->actions()) texts << action->text();
  }
  return texts;
}

bool HasActionStartingWith(const QStringList& texts, const QString& start) {
  return std::any_of(texts.begin(), texts.end(),
                     [&start](const QString& text) { return text.startsWith(start); });
}

TEST_F(DialogLookTest, QtsOwnTextsAreChinese) {
  InspectBox("提示"_gbk, [](QMessageBox& box) {
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "确定");
    EXPECT_EQ(box.buttons().size(), 1);
  });

  MainWindow main;
  SettingsWindow settings;
  QWidget* edits[] = {&main.LinkBox(), &main.CategoryBox(), &settings.Editor()};
  for (QWidget* edit : edits) {
    SCOPED_TRACE(edit->objectName().toStdString());
    const QStringList texts = MenuTexts(*edit);
    QStringList missing;
    for (const char* action : {"复制", "粘贴", "剪切", "全选"}) {
      if (!HasActionStartingWith(texts, QString::fromUtf8(action))) missing << action;
    }
    EXPECT_TRUE(missing.isEmpty())
        << missing.join(u' ').toStdString() << " missing from " << texts.join(u'|').toStdString();
    EXPECT_FALSE(HasActionStartingWith(texts, QStringLiteral("&Copy")));
  }
}

TEST_F(DialogLookTest, EveryBoxIsWideEnoughForItsCaption) {
  const Text captions[] = {
      "提示"_gbk,   "温馨提示"_gbk,
      "信息："_gbk,  // what the box shows when no caption is given
      {},           "这是一个很长的标题，比消息本身长得多，标题栏也要放得下"_gbk,
  };
  const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
  for (const Text& caption : captions) {
    const QString shown = caption.empty() ? QStringLiteral("信息：") : ToQString(caption);
    SCOPED_TRACE(shown.toStdString());
    InspectBox(caption, [&](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle().toStdString(), shown.toStdString());
      const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
      const int bar = std::max(box.style()->pixelMetric(QStyle::PM_TitleBarHeight), title.height());
      // At the least the caption itself, the window's icon and a close button of two bar
      // heights beside it, and the frame.
      const int needed = title.horizontalAdvance(shown) + 4 * bar;
      EXPECT_GE(box.width(), std::min(needed, screen)) << "needed " << needed;
      EXPECT_LE(box.width(), screen);
    });
  }
}

std::vector<SettingsWindow*> OpenSettingsWindows() {
  std::vector<SettingsWindow*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<SettingsWindow*>(widget); window && window->isVisible()) {
      windows.push_back(window);
    }
  }
  return windows;
}

// Runs that each meet the wall and wait on their settings window; whatever the test
// leaves open is closed at the end, so every run ends.
class WallRuns {
 public:
  WallRuns(QtWindowOperations& operations, int count) {
    for (int i = 0; i < count; ++i) {
      runs_.emplace_back([&operations] { operations.OpenSettingsWindow(); });
    }
  }
  ~WallRuns() {
    WaitUntil([] {
      for (SettingsWindow* window : OpenSettingsWindows()) window->close();
      return OpenSettingsWindows().empty();
    });
    for (std::thread& run : runs_) run.join();
  }

 private:
  std::vector<std::thread> runs_;
};

TEST_F(DialogLookTest, SettingsWindowsOpenedTogetherEachShowClearOfTheOthers) {
  // More windows than fit down the screen's diagonal from its centre, as runs that
  // meet the wall one after another while the earlier windows are still open.
  constexpr std::size_t kWindows = 8;
  MainWindow main;
  WallRuns runs(main.Operations(), kWindows);
  ASSERT_TRUE(WaitUntil([] { return OpenSettingsWindows().size() == kWindows; }));

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const std::vector<SettingsWindow*> windows = OpenSettingsWindows();
  for (std::size_t i = 0; i < windows.size(); ++i) {
    EXPECT_TRUE(screen.contains(windows[i]->geometry())) << i;
    for (std::size_t j = i + 1; j < windows.size(); ++j) {
      const QPoint apart = windows[i]->geometry().topLeft() - windows[j]->geometry().topLeft();
      // A title bar's height apart at the least, so each one's title bar shows.
      EXPECT_GE(std::max(std::abs(apart.x()), std::abs(apart.y())), 24) << i << " and " << j;
    }
  }

  // Closing one leaves the others open where they were.
  const QRect first = windows.front()->geometry();
  windows.back()->close();
  EXPECT_TRUE(WaitUntil([] { return OpenSettingsWindows().size() == kWindows - 1; }));
  EXPECT_TRUE(windows.front()->isVisible());
  EXPECT_EQ(windows.front()->geometry(), first);
}

}  // namespace
}  // namespace tessaly::testing
