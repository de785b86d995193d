#include "main_window/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QStringList QtTranslationFolders(const QString& programFolder) {
  return {programFolder + QStringLiteral("/translations"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

std::unique_ptr<QTranslator> InstallQtJapanese(const QStringList& folders) {
  for (const QString& folder : folders) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_ja"), folder) && QCoreApplication::installTranslator(translator.get())) {
      return translator;
    }
  }
  return nullptr;
}
