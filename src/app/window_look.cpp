#include "app/window_look.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLayout>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QWidget>

namespace tessaly {
namespace {

QString YaHeiFamily() {
  static const QString family = [] {
    const QStringList families = QFontDatabase::families();
    for (const QString& wanted :
         {QStringLiteral("Microsoft YaHei"), QStringLiteral("微软雅黑"),
          QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")}) {
      if (families.contains(wanted, Qt::CaseInsensitive)) return wanted;
    }
    return QStringLiteral("Microsoft YaHei");  // fontconfig substitutes
  }();
  return family;
}

}  // namespace

QFont YaHeiFont(QFont::Weight weight) {
  QFont font(YaHeiFamily());
  font.setPixelSize(15);
  font.setWeight(weight);
  return font;
}

void MakeFixedCentredWindow(QWidget& window, QSize clientSize) {
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint);
  window.setFixedSize(clientSize);
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, clientSize,
                                         screen->availableGeometry()));
}

void MakeLinkLook(QWidget& label) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label.setPalette(palette);
  label.setCursor(Qt::PointingHandCursor);
}

}  // namespace tessaly
