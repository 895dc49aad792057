#include "app/qt/app_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tessaly {

bool InstallChineseTranslations() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  // The application owns the translator, so it lives as long as Qt may ask it.
  auto* translator = new QTranslator(app);
  const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
  if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace tessaly
