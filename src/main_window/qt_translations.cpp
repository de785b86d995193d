#include "main_window/qt_translations.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLibraryInfo>

#include "main_window/translation_digests.h"

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

// Far beyond any translation of ours: a bigger file is not one, and is not read whole.
constexpr qint64 kLargestTranslation = qint64{16} << 20;

// Our translation from the first folder holding it, but only the very file
// the build made: Qt checks no more than the magic, and a lookup in a
// damaged file can crash before any window is there to switch the language
// back. A file Qt itself refuses (empty, cut short) is passed over as it
// always was; one Qt would take that is not ours leaves `damaged` set.
std::unique_ptr<QTranslator> InstallShipped(const QString& name, const QStringList& folders, bool& damaged) {
  const QString fileName = name + QStringLiteral(".qm");
  const std::string_view expected = ShippedTranslationDigest(fileName.toStdString());
  for (const QString& folder : folders) {
    QFile file(folder + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QByteArray bytes = file.size() <= kLargestTranslation ? file.readAll() : QByteArray();
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    auto translator = std::make_unique<QTranslator>();
    if (!bytes.isEmpty() && digest.toStdString() == expected) {
      if (translator->load(file.fileName()) && QCoreApplication::installTranslator(translator.get())) return translator;
      continue;
    }
    // Only told when Qt would have taken it: the lookups are what crash.
    if (translator->load(file.fileName())) damaged = true;
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
  bool damaged = false;
  std::unique_ptr<QTranslator> found =
      english ? InstallShipped(QStringLiteral("tallymeter_en"), folders, damaged) : nullptr;
  // Without our English the windows stay Japanese, and Qt's texts with them.
  if (!found) found = InstallQtJapanese(folders);
  if (found) installed.push_back(std::move(found));
  InterfaceTranslators translators(std::move(installed));
  if (damaged) {
    translators.traceNote =
        QStringLiteral(" Translation tallymeter_en.qm is not the file this version shipped; the windows stay Japanese");
  }
  return translators;
}
