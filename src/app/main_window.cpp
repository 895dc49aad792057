#include "app/main_window.h"

#include <memory>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "app/app_icons.h"
#include "app/author_window.h"
#include "app/clickable_label.h"
#include "app/open_and_wait.h"
#include "app/window_look.h"
#include "collect/addresses.h"
#include "collect/collection_run.h"
#include "text/file_primitives.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

// The window's size below the title bar, menu bar included. The controls' places are relative
// to the area below the menu bar; they end at y 670, so they fit with room to spare.
constexpr QSize kWindowSize(1018, 731);

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Tessaly by：Morvane"));
  setWindowIcon(ProgramIcon());

  auto client = std::make_unique<QWidget>();
  CreateControls(*client);
  setCentralWidget(client.release());
  CreateMenus();
  MakeFixedCentredWindow(*this, kWindowSize);
  PrepareRunDirectory();
}

void MainWindow::CreateControls(QWidget& client) {
  auto* linkCaption = PlaceControl<QLabel>(client, "标签2", 8, 10, 236, 24);
  linkCaption->setText(QStringLiteral("宝贝链接"));
  linkCaption->setFont(YaHeiFont());

  auto* help = PlaceControl<ClickableLabel>(client, "图片框1", 80, 15, 16, 16);
  help->setPixmap(QuestionMarkPicture());
  connect(help, &ClickableLabel::leftPressed, this, &MainWindow::ShowLinkHint);

  auto* clear = PlaceControl<QPushButton>(client, "按钮2", 904, 5, 96, 32);
  clear->setText(QStringLiteral("清空列表"));

  link_box_ = PlaceControl<QPlainTextEdit>(client, "编辑框1", 8, 43, 992, 496);
  link_box_->setLineWrapMode(QPlainTextEdit::NoWrap);
  link_box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  link_box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  link_box_->setFont(YaHeiFont(QFont::Light));
  connect(clear, &QPushButton::clicked, link_box_, &QPlainTextEdit::clear);

  status_label_ = PlaceControl<ClickableLabel>(client, "标签1", 10, 558, 344, 40);
  status_label_->setFont(YaHeiFont(QFont::Bold));
  status_label_->setCursor(Qt::PointingHandCursor);
  connect(status_label_, &ClickableLabel::leftPressed, this, &MainWindow::OpenRunDirectory);

  auto* categoryCaption = PlaceControl<QLabel>(client, "标签3", 626, 566, 120, 32);
  categoryCaption->setText(QStringLiteral("分类名(可不填)"));

  category_box_ = PlaceControl<QLineEdit>(client, "编辑框2", 752, 560, 104, 40);

  start_button_ = PlaceControl<QPushButton>(client, "按钮1", 881, 559, 120, 40);
  start_button_->setText(QStringLiteral("开始采集"));
  start_button_->setFont(YaHeiFont());
  connect(start_button_, &QPushButton::clicked, this, [this] { StartButtonClick(operations_); });

  struct BoxPlace {
    const char* name;
    const char* caption;
    int left;
    int width;
  };
  static constexpr BoxPlace kBoxes[4] = {
      {"选择框1", "主图", 14, 104},
      {"选择框2", "SKU图", 101, 104},
      {"选择框3", "描述图", 199, 104},
      {"选择框4", "宝贝信息（标题、货号、链接、ID、价格）", 308, 516},
  };
  for (int i = 0; i < 4; ++i) {
    const BoxPlace& place = kBoxes[i];
    QCheckBox* box = PlaceControl<QCheckBox>(client, place.name, place.left, 612, place.width, 32);
    box->setText(QString::fromUtf8(place.caption));
    box->setFont(YaHeiFont());
    box->setChecked(true);
    check_boxes_[i] = box;
  }

  auto* version = PlaceControl<QLabel>(client, "标签4", 920, 622, 104, 48);
  version->setText(QStringLiteral("版本：1.0"));
}

void MainWindow::CreateMenus() {
  QMenu* settings = menuBar()->addMenu(QStringLiteral("设置"));
  connect(settings->addAction(QStringLiteral("配置Cookies")), &QAction::triggered, this,
          [this] { operations_.OpenSettingsWindow(); });

  QMenu* shortcuts = menuBar()->addMenu(QStringLiteral("快捷"));
  connect(shortcuts->addAction(QStringLiteral("打开下载目录")), &QAction::triggered, this,
          &MainWindow::OpenRunDirectory);
  connect(shortcuts->addAction(QStringLiteral("阿里巴巴官网")), &QAction::triggered, this,
          [this] { desktop_.OpenUrl(HomePageAddress(false)); });

  // Part of the window's definition, with its actions, but never shown: nothing in
  // the program makes it visible.
  QMenu* about = menuBar()->addMenu(QStringLiteral("关于"));
  QAction* author = about->addAction(QStringLiteral("作者信息"));
  connect(author, &QAction::triggered, this,
          [] { OpenDialogAndWait([] { return std::make_unique<AuthorWindow>(); }); });
  QAction* version = about->addAction(QStringLiteral("当前版本:1.0"));
  author->setVisible(false);
  version->setVisible(false);
  about->menuAction()->setVisible(false);
}

QCheckBox& MainWindow::CheckBoxOf(CheckBox box) { return *check_boxes_[static_cast<int>(box) - 1]; }

QLabel& MainWindow::StatusLabel() { return *status_label_; }

void MainWindow::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

void MainWindow::PrepareRunDirectory() {
  const Text folder = ConcatText(GetRunDirectory(), kPathSeparator, "阿里巴巴"_gbk);
  if (!PathExists(folder)) MakeDirectory(folder);
}

void MainWindow::OpenRunDirectory() { desktop_.ShellOpen(GetRunDirectory()); }

void MainWindow::ShowLinkHint() {
  desktop_.ShowMessage(
      "小提示：仅支持阿里巴巴的宝贝链接，不支持国际站，其他的链接是无效的喔，链接一行一个。"_gbk, 0,
      "温馨提示"_gbk);
}

}  // namespace tessaly
