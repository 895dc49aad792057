#include "app/qt/window_look.h"

#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include "app/qt/qt_text.h"

namespace tessaly {
namespace {

// More than a title bar's height, so a window's title bar shows above the next one.
constexpr int kCascadeStep = 32;

const QScreen* ScreenOf(const QWidget& window) {
  return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}

QString YaHeiFamily() {
  static const QString family = [] {
    const QStringList families = QFontDatabase::families();
    for (const QString& wanted :
         {QStringLiteral("Microsoft YaHei"), FromTable(ui::kYaHeiFamily),
          QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")}) {
      if (families.contains(wanted, Qt::CaseInsensitive)) return wanted;
    }
    return QStringLiteral("Microsoft YaHei");  // fontconfig substitutes
  }();
  return family;
}

}  // namespace

QFont YaHeiFont(ui::FontStyle style) {
  QFont font(YaHeiFamily());
  font.setPixelSize(ui::kYaHeiPixelHeight);
  // Qt 6's weights are the table's numbers.
  font.setWeight(static_cast<QFont::Weight>(ui::WeightOf(style)));
  return font;
}

void MakeFixedCentredWindow(QWidget& window, const ui::WindowDef& definition) {
  const QSize size(definition.outer_width, definition.outer_height);
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint);
  window.setFixedSize(size);
  const QScreen* screen = ScreenOf(window);
  if (screen == nullptr) return;
  window.setGeometry(
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, screen->availableGeometry()));
}

int WidthForCaption(const QWidget& window, const QString& caption) {
  // Qt's platform themes give the system's caption font under this name; where the
  // window manager draws the title bar with a font of its own, the program's font
  // is the best guess, so the wider of the two counts.
  const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
  const QFontMetrics own(window.font());
  const int text = std::max(title.horizontalAdvance(caption), own.horizontalAdvance(caption));
  const int bar =
      std::max({window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                title.height(), own.height()});
  // The icon (one bar height), up to three caption buttons of about two bar heights
  // each (minimise and maximise, where the window manager adds them, and close), and
  // one more bar height for the margins and the frame.
  int width = text + 8 * bar;
  if (const QScreen* screen = ScreenOf(window)) {
    width = std::min(width, screen->availableGeometry().width());
  }
  return width;
}

void CascadeClearOf(QWidget& window, const std::vector<const QWidget*>& open) {
  const QScreen* screen = ScreenOf(window);
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const auto taken = [&open](QPoint spot) {
    for (const QWidget* other : open) {
      const QPoint apart = other->geometry().topLeft() - spot;
      if (std::abs(apart.x()) < kCascadeStep && std::abs(apart.y()) < kCascadeStep) return true;
    }
    return false;
  };
  QRect place = window.geometry();
  // Bounded: with every spot of the screen taken the window stays where it got to.
  for (int tries = 0; tries < 1000 && taken(place.topLeft()); ++tries) {
    place.translate(kCascadeStep, kCascadeStep);
    if (!area.contains(place)) place.moveTopLeft(area.topLeft());
  }
  window.setGeometry(place);
}

}  // namespace tessaly
