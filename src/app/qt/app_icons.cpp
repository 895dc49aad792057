#include "app/qt/app_icons.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

namespace tessaly {
namespace {

const QColor kTeal(0x00, 0x96, 0x88);

QPixmap ProgramPicture(int side) {
  QPixmap picture(side, side);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 128.0, side / 128.0);

  // The frame: a dashed square with soft corners.
  QPen frame(kTeal, 6.0, Qt::CustomDashLine, Qt::RoundCap);
  frame.setDashPattern({3.0, 2.5});
  painter.setPen(frame);
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(8, 8, 112, 112), 20, 20);

  // The arrow: a shaft and a head pointing down.
  painter.setPen(Qt::NoPen);
  painter.setBrush(kTeal);
  painter.drawRoundedRect(QRectF(52, 26, 24, 44), 4, 4);
  const QPolygonF head({QPointF(32, 64), QPointF(96, 64), QPointF(64, 102)});
  QPainterPath headPath;
  headPath.addPolygon(head);
  headPath.closeSubpath();
  painter.drawPath(headPath);
  return picture;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : {128, 64, 48, 32, 16}) icon.addPixmap(ProgramPicture(side));
  return icon;
}

QPixmap QuestionMarkPicture() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(QPen(QColor(0x1e, 0x88, 0xe5), 1.2));
  painter.setBrush(QColor(0xe3, 0xf2, 0xfd));
  painter.drawEllipse(QRectF(1, 1, 14, 14));

  QFont font;
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(0x1e, 0x88, 0xe5));
  painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
  return picture;
}

}  // namespace tessaly
