#include "app/settings_window.h"

#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "app/app_icons.h"
#include "app/clickable_label.h"
#include "app/qt_text.h"
#include "app/window_look.h"
#include "collect/addresses.h"
#include "collect/cookie_file.h"
#include "collect/cookie_page_address.h"
#include "text/gbk.h"

namespace tessaly {

SettingsWindow::SettingsWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("设置"));

  auto* heading = PlaceControl<QLabel>(*this, "标签1", 7, 6, 256, 40);
  heading->setText(QStringLiteral("阿里巴巴cookies"));

  // The same help picture as on the main window; here a press does nothing.
  auto* help = PlaceControl<QLabel>(*this, "图片框1", 134, 19, 16, 16);
  help->setPixmap(QuestionMarkPicture());

  auto* tutorial = PlaceControl<ClickableLabel>(*this, "标签3", 328, 14, 104, 24);
  tutorial->setText(QStringLiteral("教程视频"));
  MakeLinkLook(*tutorial);
  connect(tutorial, &ClickableLabel::leftPressed, this, &SettingsWindow::OpenTutorial);

  editor_ = PlaceControl<QPlainTextEdit>(*this, "编辑框1", 8, 48, 400, 208);
  // Cookie values are long runs without blanks: break them anywhere, as the
  // platform's edit box does, so nothing ever scrolls sideways.
  editor_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  editor_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* note = PlaceControl<QLabel>(*this, "标签2", 7, 266, 288, 46);
  note->setText(
      QStringLiteral("注：因为阿里的防采集机制，故此需要cookies，无需每次，失效了再换即可。"));
  note->setWordWrap(true);

  auto* save = PlaceControl<QPushButton>(*this, "按钮1", 320, 272, 88, 40);
  save->setText(QStringLiteral("保存"));
  save->setAutoDefault(false);  // Enter in the editor starts a new line, never saves
  connect(save, &QPushButton::clicked, this, &SettingsWindow::Save);

  auto* cookiePage = PlaceControl<ClickableLabel>(*this, "标签4", 8, 320, 216, 16);
  cookiePage->setText(QStringLiteral("打开取COOKIES页面"));
  MakeLinkLook(*cookiePage);
  connect(cookiePage, &ClickableLabel::leftPressed, this, &SettingsWindow::OpenCookiePage);

  MakeFixedCentredWindow(*this, QSize(424, 383));
  Load();
}

void SettingsWindow::showEvent(QShowEvent* event) {
  std::vector<const QWidget*> open;
  for (const QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != this && widget->isVisible() && qobject_cast<const SettingsWindow*>(widget)) {
      open.push_back(widget);
    }
  }
  CascadeClearOf(*this, open);
  QDialog::showEvent(event);
}

void SettingsWindow::Load() {
  loaded_ = ReadCookieFile();
  editor_->setPlainText(ToQString(loaded_));
  loaded_view_ = editor_->toPlainText();
}

// The editor turns "\r\n", a lone "\n" and a lone "\r" alike into one paragraph break
// and gives each back as "\n", so its text alone cannot say which break the file had.
// A value saved without edits is therefore written back as the very bytes that were
// loaded (this also keeps bytes that are not GBK and showed as U+FFFD). An edited
// value takes "\r\n" for every break when the loaded file used "\r\n", else "\n",
// which is what Enter and this platform's clipboard give. Characters GBK cannot hold
// (emoji and the like) are written as "?"; everything else is kept.
Text SettingsWindow::EditorValue() const {
  QString shown = editor_->toPlainText();
  if (shown == loaded_view_) return loaded_;
  if (loaded_.find("\r\n") != Text::npos) shown.replace(u'\n', QStringLiteral("\r\n"));
  return FromQString(shown);
}

void SettingsWindow::Save() {
  // A failed write must not be reported as saved: the user would go on with a
  // cookie value that the next run never reads. The old file stays as it was.
  const bool saved = WriteCookieFile(EditorValue());
  desktop_.ShowMessage(saved ? "已保存"_gbk : "保存失败！"_gbk, 0, "提示"_gbk);
}

void SettingsWindow::OpenCookiePage() {
  desktop_.OpenUrl(CookiePageAddressOr(HomePageAddress(true)));
}

void SettingsWindow::OpenTutorial() { desktop_.OpenUrl(ReleasePageAddress()); }

}  // namespace tessaly
