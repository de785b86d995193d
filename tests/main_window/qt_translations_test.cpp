#include "main_window/qt_translations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

// Whether Qt's own question box asks with Japanese buttons.
bool QtAsksInJapanese() {
  QMessageBox box(QMessageBox::NoIcon, "t", "q", QMessageBox::Yes | QMessageBox::No);
  return box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")) &&
         box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ"));
}

TEST(QtTranslations, TheQuestionBoxAsksInJapaneseFromBesideTheProgramOrFromQt) {
  TempFolder program;
  const QStringList folders = QtTranslationFolders(program.Path());
  ASSERT_EQ(folders.size(), 2);
  EXPECT_EQ(folders[0], program.File("translations"));
  const QString qtFile = folders[1] + "/qtbase_ja.qm";
  ASSERT_TRUE(QFile::exists(qtFile)) << "qt6-translations-l10n is missing (run scripts/setup)";

  // Nothing where it is looked for: no translator, English stays.
  EXPECT_EQ(InstallQtJapanese({program.File("translations")}), nullptr);
  EXPECT_FALSE(QtAsksInJapanese());

  // A copy beside the program comes first (as a Windows build ships it).
  QDir().mkpath(program.File("translations"));
  ASSERT_TRUE(QFile::copy(qtFile, program.File("translations/qtbase_ja.qm")));
  {
    const auto beside = InstallQtJapanese({program.File("translations"), "/nowhere"});
    EXPECT_TRUE(beside != nullptr && QtAsksInJapanese());
  }
  EXPECT_FALSE(QtAsksInJapanese()) << "removed with its translator";
  const auto fromQt = InstallQtJapanese(QtTranslationFolders("/nowhere"));
  EXPECT_TRUE(fromQt != nullptr && QtAsksInJapanese());
}

TEST(QtTranslations, AutomaticIsEnglishOnEverySystemButAJapaneseOne) {
  const std::tuple<DisplayLanguage, QLocale, bool> cases[] = {
      {DisplayLanguage::Automatic, QLocale(QLocale::Japanese, QLocale::Japan), false},
      {DisplayLanguage::Automatic, QLocale(QLocale::English, QLocale::UnitedStates), true},
      {DisplayLanguage::Automatic, QLocale(QLocale::Korean), true},
      {DisplayLanguage::Automatic, QLocale::c(), true},
      {DisplayLanguage::Japanese, QLocale(QLocale::German), false},
      {DisplayLanguage::English, QLocale(QLocale::Japanese, QLocale::Japan), true},
  };
  for (const auto& [choice, system, english] : cases) {
    EXPECT_EQ(UsesEnglish(choice, system), english) << system.name().toStdString();
  }
}

TEST(QtTranslations, OurEnglishIsLoadedFromBesideTheProgramOnlyForEnglishAndOnlyAsBuilt) {
  const auto shown = [] { return QCoreApplication::translate("Form2", "表示言語"); };
  // The build puts the compiled translation beside the programs. English
  // keeps Qt's buttons English; Japanese, and English that is nowhere to be
  // found or not the file built (changed on the disk, empty, cut short),
  // show the originals with Qt's texts in Japanese. Only a file Qt would
  // take (its lookups are what crash) is told in the trace.
  const QStringList folders = QtTranslationFolders(QCoreApplication::applicationDirPath());
  QFile shipped(folders[0] + "/tallymeter_en.qm");
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  const QByteArray good = shipped.readAll();
  QByteArray changed = good;
  for (qsizetype i = 40; i < 240; ++i) changed[i] = static_cast<char>(changed[i] ^ 0x5a);  // in the hash table
  const TempFolder copy;
  const std::tuple<bool, QStringList, QString, bool, QByteArray> cases[] = {
      {true, folders, "Display language", false, {}}, {false, folders, "表示言語", true, {}},
      {true, {folders[1]}, "表示言語", true, {}},      {true, {copy.Path()}, "表示言語", false, changed},
      {true, {copy.Path()}, "表示言語", false, good.left(good.size() / 2)}, {true, {copy.Path()}, "表示言語", false, "-"}};
  for (const auto& [english, where, caption, qtJapanese, bytes] : cases) {
    copy.Write("tallymeter_en.qm", bytes == "-" ? QByteArray() : bytes);
    const InterfaceTranslators installed = InstallInterfaceLanguage(english, where);
    EXPECT_EQ(std::tuple(shown(), QtAsksInJapanese(), installed.traceNote.isEmpty()),
              std::tuple(caption, qtJapanese, bytes != changed)) << caption.toStdString() << bytes.size();
  }
}

}  // namespace
