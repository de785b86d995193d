#pragma once
// The language of the windows: our own English translation, or Qt's own
// texts (the Yes and No of a question box, the context menu of a text field)
// in Japanese like every text of the Japanese original.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>
#include <utility>
#include <vector>

#include "persistence/settings.h"

// Where translations are looked for, in order: a "translations" folder
// beside the program (ours always, and Qt's when a build carries its own
// Qt), then the folder of the Qt the program runs with.
QStringList QtTranslationFolders(const QString& programFolder);

// Qt's Japanese translation ("qtbase_ja") from the first of `folders` that
// holds it, installed in the application; nothing when none does (the
// buttons then stay in English, and nothing else changes). The translator
// must live as long as it is to be used.
std::unique_ptr<QTranslator> InstallQtJapanese(const QStringList& folders);

// Automatic follows the system: Japanese there, English on any other.
bool UsesEnglish(DisplayLanguage choice, const QLocale& system);

// The translators of one interface language, installed while this lives.
class InterfaceTranslators {
 public:
  InterfaceTranslators() = default;
  explicit InterfaceTranslators(std::vector<std::unique_ptr<QTranslator>> installed)
      : installed_(std::move(installed)) {}

  // For the trace when English was asked for and its file was damaged.
  QString traceNote;

 private:
  std::vector<std::unique_ptr<QTranslator>> installed_;
};

// English: our "tallymeter_en" from the first of `folders` holding it as the
// build made it (Qt's buttons are English without one). Japanese, or English
// that is not there or damaged (a program copied without its translations
// folder, a file changed on the disk): Qt's qtbase_ja, our texts being
// Japanese already; a damaged file leaves a trace note.
InterfaceTranslators InstallInterfaceLanguage(bool english, const QStringList& folders);
