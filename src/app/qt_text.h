#pragma once

#include <QString>

#include "text/gbk.h"
#include "text/text.h"

// The windows speak UTF-16, the core GBK; these are the only crossings.
namespace tessaly {

inline QString ToQString(const Text& text) { return QString::fromStdU16String(GbkToUtf16(text)); }

// Characters that GBK cannot hold (emoji and the like) become "?"; the rest is kept.
inline Text FromQString(const QString& text) { return Utf16ToGbk(text.toStdU16String()); }

}  // namespace tessaly
