#pragma once

#include <string_view>

#include <QString>

#include "text/gbk.h"
#include "text/text.h"

// The windows speak UTF-16, the core GBK and the window table UTF-8; these are the only
// crossings.
namespace tessaly {

inline QString ToQString(const Text& text) { return QString::fromStdU16String(GbkToUtf16(text)); }

// Characters that GBK cannot hold (emoji and the like) become "?"; the rest is kept.
inline Text FromQString(const QString& text) { return Utf16ToGbk(text.toStdU16String()); }

// The system's texts break lines with "\r\n", as the platform's controls want; a Qt
// label wants "\n" alone.
inline QString WithQtLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// A caption or fixed text of app/window_table.h, as a Qt window shows it.
inline QString FromTable(std::string_view utf8) {
  return WithQtLineBreaks(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace tessaly
