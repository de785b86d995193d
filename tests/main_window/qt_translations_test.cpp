#include "main_window/qt_translations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

QString YesNoButtons() {
  QMessageBox box(QMessageBox::NoIcon, "t", "q", QMessageBox::Yes | QMessageBox::No);
  return box.button(QMessageBox::Yes)->text() + "/" + box.button(QMessageBox::No)->text();
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
  EXPECT_FALSE(YesNoButtons().contains(QStringLiteral("はい")));

  // A copy beside the program comes first (as a Windows build ships it).
  QDir().mkpath(program.File("translations"));
  ASSERT_TRUE(QFile::copy(qtFile, program.File("translations/qtbase_ja.qm")));
  {
    const auto beside = InstallQtJapanese({program.File("translations"), "/nowhere"});
    ASSERT_NE(beside, nullptr);
    EXPECT_TRUE(YesNoButtons().contains(QStringLiteral("はい"))) << YesNoButtons().toStdString();
    EXPECT_TRUE(YesNoButtons().contains(QStringLiteral("いいえ")));
  }
  EXPECT_FALSE(YesNoButtons().contains(QStringLiteral("はい"))) << "removed with its translator";

  const auto fromQt = InstallQtJapanese(QtTranslationFolders("/nowhere"));
  ASSERT_NE(fromQt, nullptr);
  EXPECT_TRUE(YesNoButtons().contains(QStringLiteral("はい")));
}

TEST(QtTranslations, AutomaticIsEnglishOnEverySystemButAJapaneseOne) {
  const struct {
    DisplayLanguage choice;
    QLocale system;
    bool english;
  } cases[] = {
      {DisplayLanguage::Automatic, QLocale(QLocale::Japanese, QLocale::Japan), false},
      {DisplayLanguage::Automatic, QLocale(QLocale::English, QLocale::UnitedStates), true},
      {DisplayLanguage::Automatic, QLocale(QLocale::Korean), true},
      {DisplayLanguage::Automatic, QLocale::c(), true},
      {DisplayLanguage::Japanese, QLocale(QLocale::German), false},
      {DisplayLanguage::English, QLocale(QLocale::Japanese, QLocale::Japan), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.system.name().toStdString());
    EXPECT_EQ(UsesEnglish(c.choice, c.system), c.english);
  }
}

TEST(QtTranslations, OurEnglishIsLoadedFromBesideTheProgramOnlyForEnglish) {
  const auto shown = [] { return QCoreApplication::translate("Form2", "表示言語"); };
  // The build puts the compiled translation beside the programs.
  const QStringList folders = QtTranslationFolders(QCoreApplication::applicationDirPath());
  {
    const InterfaceTranslators english = InstallInterfaceLanguage(true, folders);
    EXPECT_EQ(english.Count(), 1U);
    EXPECT_EQ(shown(), QStringLiteral("Display language"));
    EXPECT_FALSE(YesNoButtons().contains(QStringLiteral("はい"))) << "Qt's buttons stay English";
  }
  {
    const InterfaceTranslators japanese = InstallInterfaceLanguage(false, folders);
    EXPECT_EQ(shown(), QStringLiteral("表示言語"));
    EXPECT_TRUE(YesNoButtons().contains(QStringLiteral("はい")));
  }
  // No English anywhere: the Japanese originals, with Qt's texts in Japanese.
  {
    const InterfaceTranslators fallback = InstallInterfaceLanguage(true, {folders[1]});
    EXPECT_EQ(shown(), QStringLiteral("表示言語"));
    EXPECT_TRUE(YesNoButtons().contains(QStringLiteral("はい")));
  }
}

}  // namespace
