#include <atomic>
#include <latch>
#include <thread>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app/app_fixture.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_window.h"
#include "collect/cookie_file.h"
#include "text/desktop.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly::testing {
namespace {

// A worker thread that the test joins only after it has finished, while the
// application's events keep running (as the window's worker would find them).
class Worker {
 public:
  explicit Worker(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          work();
          finished_ = true;
        }) {}
  ~Worker() {
    WaitUntil([this] { return finished_.load(); });
    thread_.join();
  }
  bool finished() const { return finished_; }

 private:
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

using WindowOperationsTest = AppTest;

TEST_F(WindowOperationsTest, StatusFromTheWorkerShowsWhileTheRunGoesOn) {
  MainWindow window;
  QtWindowOperations& operations = window.Operations();
  std::latch release(1);
  Worker worker([&] {
    operations.SetStatus("共检测到 2 个宝贝，正在下载第 1 个"_gbk);
    release.wait();
    operations.SetStatus("下载完毕,点击查看！"_gbk);
  });
  EXPECT_TRUE(WaitUntil([&] {
    return window.StatusLabel().text() == QStringLiteral("共检测到 2 个宝贝，正在下载第 1 个");
  }));
  EXPECT_FALSE(worker.finished());
  release.count_down();
  EXPECT_TRUE(WaitUntil([&] { return worker.finished(); }));
  EXPECT_EQ(window.StatusLabel().text(), QStringLiteral("下载完毕,点击查看！"));
}

TEST_F(WindowOperationsTest, WorkerReadsAndWritesTheControls) {
  MainWindow window;
  window.LinkBox().setPlainText(QStringLiteral("a\nb"));
  window.CategoryBox().setText(QStringLiteral("女装"));
  window.CheckBoxOf(CheckBox::kDescriptionImages).setChecked(false);
  QtWindowOperations& operations = window.Operations();

  Text links;
  Text category;
  bool ticked[5] = {};
  {
    Worker worker([&] {
      links = operations.LinkText();
      category = operations.CategoryText();
      for (CheckBox box : {CheckBox::kMainImages, CheckBox::kSkuImages,
                           CheckBox::kDescriptionImages, CheckBox::kProductInfo}) {
        ticked[static_cast<int>(box)] = operations.IsTicked(box);
      }
      operations.SetStartEnabled(false);
    });
  }
  EXPECT_EQ(links, "a\nb");
  EXPECT_EQ(category, "\xC5\xAE\xD7\xB0");  // 女装 in GBK
  EXPECT_TRUE(ticked[1]);
  EXPECT_TRUE(ticked[2]);
  EXPECT_FALSE(ticked[3]);
  EXPECT_TRUE(ticked[4]);
  EXPECT_FALSE(window.StartButton().isEnabled());

  {
    Worker worker([&] { operations.SetStartEnabled(true); });
  }
  EXPECT_TRUE(window.StartButton().isEnabled());
}

TEST_F(WindowOperationsTest, MessageBoxesAreModalOnlyForTheUiThread) {
  MainWindow window;
  QtWindowOperations& operations = window.Operations();
  int workerAnswer = 0;
  {
    Worker worker([&] { workerAnswer = operations.ShowMessage("网络似乎有问题！"_gbk, 0, {}); });
  }
  const int uiAnswer =
      operations.ShowMessage("有新版本了，建议更新\r\nhttps://x"_gbk, 0, "提示"_gbk);

  EXPECT_EQ(workerAnswer, 1);
  EXPECT_EQ(uiAnswer, 1);
  const auto messages = desktop_.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, QStringLiteral("网络似乎有问题！"));
  EXPECT_EQ(messages[0].caption, QStringLiteral("信息："));
  EXPECT_FALSE(messages[0].modal);
  EXPECT_EQ(messages[1].text, QStringLiteral("有新版本了，建议更新\nhttps://x"));
  EXPECT_EQ(messages[1].caption, QStringLiteral("提示"));
  EXPECT_TRUE(messages[1].modal);
  EXPECT_TRUE(desktop_.AllOnUiThread());
}

TEST_F(WindowOperationsTest, BrowserAndFileManagerOpenFromEitherThread) {
  MainWindow window;
  InstallDesktop(&window.Operations());
  {
    Worker worker([] {
      tessaly::OpenUrl("https://detail.1688.com/offer/123456789012.html");
      tessaly::ShellOpen(ConcatText(GetRunDirectory(), "/阿里巴巴"_gbk));
    });
  }
  tessaly::OpenUrl("http://www.1688.com");
  InstallDesktop(nullptr);

  EXPECT_EQ(desktop_.Urls(),
            (std::vector<QString>{QStringLiteral("https://detail.1688.com/offer/123456789012.html"),
                                  QStringLiteral("http://www.1688.com")}));
  EXPECT_EQ(desktop_.Paths(),
            std::vector<QString>{RunDirectoryPath() + QStringLiteral("/阿里巴巴")});
  EXPECT_TRUE(desktop_.AllOnUiThread());
}

TEST_F(WindowOperationsTest, ProcessEventsDispatchesOnlyOnTheUiThread) {
  MainWindow window;
  QtWindowOperations& operations = window.Operations();
  bool dispatched = false;
  QTimer::singleShot(0, &window, [&] { dispatched = true; });

  // On the worker it returns at once, without touching the user-interface queue;
  // this thread does not dispatch anything meanwhile.
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    operations.ProcessEvents();
    returned = true;
  });
  for (int i = 0; i < 1000 && !returned; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(returned);
  EXPECT_FALSE(dispatched);
  WaitUntil([&] { return returned.load(); });
  worker.join();

  dispatched = false;
  QTimer::singleShot(0, &window, [&] { dispatched = true; });
  operations.ProcessEvents();
  EXPECT_TRUE(dispatched);
}

TEST_F(WindowOperationsTest, SettingsWindowFromTheWorkerBlocksOnlyTheWorker) {
  ASSERT_TRUE(WriteCookieFile("cna=abc; _tb_token_=xyz"));
  MainWindow window;
  QtWindowOperations& operations = window.Operations();
  Worker worker([&] { operations.OpenSettingsWindow(); });

  ASSERT_TRUE(WaitUntil([] { return OpenWindow<SettingsWindow>() != nullptr; }));
  SettingsWindow* settings = OpenWindow<SettingsWindow>();
  EXPECT_EQ(settings->Editor().toPlainText(), QStringLiteral("cna=abc; _tb_token_=xyz"));
  // Only the worker waits: the main window still takes input.
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  PressLeft(window.StatusLabel());
  EXPECT_EQ(desktop_.Paths().size(), 1u);
  WaitUntil([] { return false; }, std::chrono::milliseconds(50));
  EXPECT_FALSE(worker.finished());

  QTimer::singleShot(0, settings, &QWidget::close);
  EXPECT_TRUE(WaitUntil([&] { return worker.finished(); }));
}

}  // namespace
}  // namespace tessaly::testing
