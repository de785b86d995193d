#include "main_window/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {

std::unique_ptr<QTranslator> InstallFirst(const QString& name, const QStringList& folders) {
  for (const QString& folder : folders) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator.get())) {
      return translator;
    }
  }
  return nullptr;
}

}  // namespace

QStringList QtTranslationFolders(const QString& programFolder) {
  return {programFolder + QStringLiteral("/translations"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

std::unique_ptr<QTranslator> InstallQtJapanese(const QStringList& folders) {
  return InstallFirst(QStringLiteral("qtbase_ja"), folders);
}

bool UsesEnglish(DisplayLanguage choice, const QLocale& system) {
  switch (choice) {
    case DisplayLanguage::Japanese:
      return false;
    case DisplayLanguage::English:
      return true;
    case DisplayLanguage::Automatic:
      break;
  }
  return system.language() != QLocale::Japanese;
}

InterfaceTranslators InstallInterfaceLanguage(bool english, const QStringList& folders) {
  std::vector<std::unique_ptr<QTranslator>> installed;
  std::unique_ptr<QTranslator> found = english ? InstallFirst(QStringLiteral("tallymeter_en"), folders) : nullptr;
  // Without our English the windows stay Japanese, and Qt's texts with them.
  if (!found) found = InstallQtJapanese(folders);
  if (found) installed.push_back(std::move(found));
  return InterfaceTranslators(std::move(installed));
}
