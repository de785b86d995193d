#include "persistence/config_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <tuple>

#include "persistence/text_file.h"
#ifndef _WIN32
#include "support/disk_limit.h"
#include "support/fifo_watch.h"
#endif
#include "support/temp_folder.h"

namespace {

// The file a first start writes, laid out by hand; %1 is the program folder.
const QString kDefaultText = QStringLiteral(
    "   35 ,  576 ,  44 ,  13 , キャプチャ領域1、開始座標とサイズ\r\n"
    "  463 ,  570 ,  90 ,   9 , キャプチャ領域2、開始座標とサイズ\r\n"
    "  False , 自動開始フラグ\r\n"
    "     20 , キャプチャインターバル(分)\r\n"
    "  False , キャプチャ時に音を鳴らす\r\n"
    "%1 , 給与明細 , 時給ファイル保存場所\r\n"
    "  False , 時給ファイルをCSVで保存する\r\n"
    "  False , 時給記録ファイルを一ヶ月追記する\r\n"
    "     50 , ラグキャンセル時間(m秒)\r\n"
    "   True , ライブ計測\r\n"
    "   True , ライブパネル表示\r\n"
    "     -1 , コンパクト表示X\r\n"
    "     -1 , コンパクト表示Y\r\n"
    "   True , 認識疑義チェック\r\n"
    "      5 , 警告までの分数\r\n"
    "   True , 警告をデスクトップ通知\r\n"
    "   True , 警告を音で知らせる\r\n"
    "   True , 警告を測定結果に表示\r\n"
    "      0 , 領域を選んだウィンドウの幅\r\n"
    "      0 , 領域を選んだウィンドウの高さ\r\n"
    "   True , 前面でなくても見えていれば読む\r\n"
    "      0 , 目標レベル\r\n"
    "      0 , 目標日付(年月日)\r\n"
    "     -1 , 経験値欄の%表示の小数桁数(-1は経験値表示)\r\n"
    "  False , 死亡で経験値が減る\r\n"
    "   True , レベルアップと目標到達を知らせる\r\n"
    "      0 , メイン画面X\r\n"
    "      0 , メイン画面Y\r\n"
    "      0 , メイン画面の幅\r\n"
    "      0 , メイン画面の高さ\r\n"
    "      0 , 表示言語\r\n"
    "     10 , ゲームの再起動を待つ分数(0は待たない)\r\n"
    "\r\n");

const Notice kSaveFailed{"設定をファイルに保存できませんでした。", "設定ファイル書き込み"};
const Notice kUnreadable{"読込みできない設定ファイルです\r\n初期値で継続します\r\n", "設定ファイル読込み"};

// Every field away from its default; sx is wider than its field.
const Settings kUnusual{.captureRegions = {{{123456, -5, 500, 0}, {-16777215, 16777215, 4, 100}}},
                        .autoStart = true, .captureInterval = 1440, .beepBeep = true,
                        .saveFolder = "/home/プレイヤー/my logs", .saveFile = "時給 2",
                        .saveCsv = true, .saveDistance = true, .lag = -10, .liveSampling = false,
                        .showLivePanel = false, .compactViewX = -3000, .compactViewY = 12345678,
                        .misreadGuard = false, .alertMinutes = 1440, .alertNotify = false, .alertBeep = false,
                        .alertLogLine = false, .areasWindowWidth = 1024, .areasWindowHeight = 700,
                        .readWhenVisible = false, .goalLevel = 250, .goalDate = 20270331,
                        .expPercentDecimals = 3, .deathCostsExp = true, .announce = false,
                        .recentMemos = {"ヘネシス, 北の \"狩場\"", "森", "x,y"}, .mainWindowX = -1200,
                        .mainWindowY = 40, .mainWindowWidth = 16777215, .mainWindowHeight = 300,
                        .displayLanguage = DisplayLanguage::English};

// A file of the nine classic lines, then `added` and the blank line that ends the file.
QString Classic(const QString& added = {}) {
  return kDefaultText.arg("/p").section(QStringLiteral("\r\n"), 0, 8) + "\r\n" + added + "\r\n";
}

}  // namespace

TEST(ConfigFile, AMissingFileBecomesTheDefaultSilentlyAndEveryFieldSurvivesSaveAndRead) {
  TempFolder tmp;
  Settings settings = kUnusual;
  // Only the upper-case modes act.
  EXPECT_EQ(ConfigFile("read", settings, tmp.Path()), std::nullopt);
  EXPECT_TRUE(settings == kUnusual && !QFileInfo::exists(tmp.File("TmConfig.ini")));

  EXPECT_EQ(ConfigFile("READ", settings, tmp.Path()), std::nullopt);
  EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
  EXPECT_EQ(tmp.Read("TmConfig.ini"), EncodeCp932(kDefaultText.arg(QDir::toNativeSeparators(tmp.Path()))));

  // Flags are words in any case, or numbers where anything but 0 is on.
  QString flags = kDefaultText.arg(QDir::toNativeSeparators(tmp.Path()));
  for (const char* word : {"TRUE", "true", "-1", "0"}) flags.replace(flags.indexOf("False"), 5, word);
  tmp.Write("TmConfig.ini", EncodeCp932(flags));
  EXPECT_EQ(ConfigFile("READ", settings, tmp.Path()), std::nullopt);
  EXPECT_EQ((std::array{settings.autoStart, settings.beepBeep, settings.saveCsv, settings.saveDistance}),
            (std::array{true, true, true, false}));

  for (Settings saved : {kUnusual, Settings::Defaults("/data/a, b,c"), Settings::Defaults(",")}) {
    SCOPED_TRACE(saved.saveFolder.toStdString());
    ASSERT_EQ(ConfigFile("SAVE", saved, tmp.Path()), std::nullopt);
    Settings read;
    EXPECT_EQ(ConfigFile("READ", read, tmp.Path()), std::nullopt);
    EXPECT_EQ(read, saved);
  }
}

TEST(ConfigFile, SettingsAddedAfterTheNineLinesReadByLabelAndNeverSpoilTheClassicOnes) {
  // The folder comes back as the text spells it, on every platform.
  Settings defaults = Settings::Defaults("/p");
  defaults.saveFolder = "/p";
  const struct {
    const char* name;
    QString added;
    bool liveSampling;
  } cases[] = {
      {"a file from before the addition: the added setting at its default", "", true},
      {"with the guard's and the alerts' switches",
       "  False , ライブ計測\r\n  False , 認識疑義チェック\r\n     30 , 警告までの分数\r\n  False , 警告をデスクトップ通知\r\n"
       "  False , 警告を音で知らせる\r\n  False , 警告を測定結果に表示\r\n",
       false},
      {"number, blanks, no line end", "0,ライブ計測  ", false},
      {"a newer program's line is passed over", "  False , 未来の設定\r\n     7 , ライブ計測?\r\n", true},
      {"no comma", "ライブ計測 False\r\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<Settings> read = ParseConfigFileText(Classic(c.added));
    ASSERT_TRUE(read.has_value());
    Settings expected = defaults;
    expected.liveSampling = c.liveSampling;
    if (c.added.contains("認識疑義チェック")) {
      std::tie(expected.misreadGuard, expected.alertMinutes, expected.alertNotify, expected.alertBeep,
               expected.alertLogLine) = std::tuple(false, 30, false, false, false);
    }
    EXPECT_EQ(*read, expected);
  }
}

TEST(ConfigFile, TheDisplayLanguageIsReadBeforeAnyWindowWithoutTouchingTheFile) {
  TempFolder tmp;
  EXPECT_EQ(StoredDisplayLanguage(tmp.Path()), DisplayLanguage::Automatic);
  EXPECT_FALSE(QFileInfo::exists(tmp.File("TmConfig.ini")));
  const struct {
    QString text;
    DisplayLanguage language;
  } cases[] = {
      {Classic(), DisplayLanguage::Automatic},  // written before the choice existed
      {Classic("  1 , 表示言語\r\n"), DisplayLanguage::Japanese},
      {Classic("2,表示言語"), DisplayLanguage::English},
      {Classic("  -1 , 表示言語\r\n"), DisplayLanguage::Automatic},
      {"not a configuration", DisplayLanguage::Automatic},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    tmp.Write("TmConfig.ini", EncodeCp932(c.text));
    EXPECT_EQ(StoredDisplayLanguage(tmp.Path()), c.language);
    EXPECT_EQ(tmp.Read("TmConfig.ini"), EncodeCp932(c.text));
  }
}

TEST(ConfigFile, DamagedFilesAndValuesAreToldKeptAsBadAndOnlyThoseTakeTheirDefaults) {
  const QString good = kDefaultText.arg("/logs").replace("     20 ,", "     35 ,");
  Settings asRead = Settings::Defaults("/p");
  asRead.saveFolder = "/logs";
  asRead.captureInterval = 35;
  const auto replaced = [&](const char* from, const QByteArray& to) {
    QByteArray bytes = EncodeCp932(good);
    return bytes.replace(EncodeCp932(QString::fromUtf8(from)), to);
  };
  const struct {
    const char* name;
    QByteArray bytes;
    bool wholeFile;  // the nine lines unreadable: every value at its default
    Settings read;   // otherwise
  } cases[] = {
      {"empty", QByteArray(), true, {}},
      {"truncated", EncodeCp932(good.left(good.indexOf("     50 ,"))), true, {}},
      {"flag word", replaced("  False , キャ", EncodeCp932("  Yes , キャ")), true, {}},
      {"text in a number", replaced("     35 ,", "     3O ,"), true, {}},
      {"number too large", replaced("  50 ,", "  2147483648 ,"), true, {}},
      {"a NUL inside a number", replaced("  463 ,", QByteArray("  4\0 3 ,", 8)), true, {}},
      {"a file name of bytes that are not Shift_JIS", replaced("給与明細", "\x81\x7F\xA0\xFD"), false, asRead},
      {"a file name that leaves the log folder", replaced("給与明細", "../../escaped"), false, asRead},
      {"a file name with a drive", replaced("給与明細", "C:escaped"), false, asRead},
      {"a file name Windows refuses", replaced("給与明細", "pay?day"), false, asRead},
      {"a log folder with a NUL", replaced("/logs", QByteArray("/lo\0gs", 6)), false,
       [&] { Settings s = asRead; s.saveFolder = "."; return s; }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder tmp;
    tmp.Write("TmConfig.ini", c.bytes);
    Settings settings = kUnusual;
    EXPECT_EQ(ConfigFileNotices("READ", settings, tmp.Path()), std::vector<Notice>{kUnreadable});
    Settings expected = c.wholeFile ? Settings::Defaults(tmp.Path()) : c.read;
    if (expected.saveFolder == ".") expected.saveFolder = QDir::toNativeSeparators(tmp.Path());
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(tmp.Read("TmConfig.ini.bad"), c.bytes);
    // Written back as read: the next start has nothing to say.
    Settings again;
    EXPECT_EQ(ConfigFileNotices("READ", again, tmp.Path()), std::vector<Notice>{});
    EXPECT_EQ(again, expected);
  }

  // An added line out of its range, or not a number, takes that line's
  // default alone: the rest of the file is kept, and one note names it.
  const std::pair<const char*, QByteArray> added[] = {
      {"      0 , 表示言語", "3"}, {"     -1 , コンパクト表示X", QByteArray("4\0 3", 3)},
      {"      5 , 警告までの分数", "-2147483648"}, {"      0 , 目標日付(年月日)", "99999999"},
      {"      0 , 目標日付(年月日)", "20270230"}, {"     -1 , 経験値欄の%表示の小数桁数(-1は経験値表示)", "2147483647"},
      {"      0 , 目標レベル", "1000"}, {"      0 , 目標日付(年月日)", "20270228"}};
  for (const auto& [from, to] : added) {
    TempFolder tmp;
    const QString label = QString::fromUtf8(from).section(", ", 1);
    tmp.Write("TmConfig.ini", replaced(from, to + EncodeCp932(" , " + label)));
    Settings settings = kUnusual;
    const std::vector<Notice> notices = ConfigFileNotices("READ", settings, tmp.Path());
    const Notice note{"設定ファイルの次の項目は値が使えないため、初期値にしました。\r\n" + label, "設定ファイル読込み"};
    Settings expected = asRead;
    expected.goalDate = to == "20270228" ? 20270228 : 0;
    EXPECT_EQ(std::tuple(settings, notices.size() == 1 && notices[0] == note), std::tuple(expected, !expected.goalDate))
        << from;
    EXPECT_EQ(ConfigFileNotices("READ", settings, tmp.Path()), std::vector<Notice>{}) << "told once";
  }

  // Coordinates beyond any screen are brought onto one without a word.
  // A size is never negative: the window would be placed from nothing.
  const std::optional<Settings> far = ParseConfigFileText(
      QString(good).replace("   35 ,", "2147483647 ,").replace("     -1 , コンパクト表示Y", "-2147483648 , コンパクト表示Y")
          .replace("      0 , メイン画面の幅", "-2147483648 , メイン画面の幅").replace("      0 , メイン画面X", "2147483647 , メイン画面X"));
  ASSERT_TRUE(far.has_value());
  EXPECT_EQ(std::tuple(far->captureRegions[0].sx, far->compactViewY, far->mainWindowWidth, far->mainWindowX),
            std::tuple(16777215, -16777215, 0, 16777215));
}

TEST(ConfigFile, OnlyTheWindowPlacesAreSavedAtTheEndAndADamagedFileIsLeftAlone) {
  TempFolder tmp;
  Settings stored = kUnusual;
  ASSERT_EQ(ConfigFile("SAVE", stored, tmp.Path()), std::nullopt);
  // Changed in the options dialog but not saved there, and the windows moved.
  Settings expected = stored;
  expected.mainWindowX = 300;
  expected.compactViewY = 20;
  Settings now = expected;
  now.captureInterval = 5;
  EXPECT_TRUE(SaveWindowPlaces(now, tmp.Path()));
  Settings read;
  ASSERT_EQ(ConfigFile("READ", read, tmp.Path()), std::nullopt);
  EXPECT_EQ(read, expected);

  const QByteArray damaged = 
      tmp.Read("TmConfig.ini").replace(EncodeCp932("1440 , 警告までの分数"), EncodeCp932("14x0 , 警告までの分数"));
  tmp.Write("TmConfig.ini", damaged);
  EXPECT_FALSE(SaveWindowPlaces(stored, tmp.Path()));
  EXPECT_EQ(tmp.Read("TmConfig.ini"), damaged);
}

TEST(ConfigFile, AFailedSaveKeepsTheSettingsAndTheOldFileAndDefaultsThatCouldNotReplaceABadFileAreSaidSo) {
  TempFolder tmp;
  tmp.Write("afile", "x");
  Settings settings = kUnusual;
  EXPECT_EQ(ConfigFile("SAVE", settings, tmp.File("afile/sub")), kSaveFailed);

  const QByteArray old = EncodeCp932(kDefaultText.arg(QDir::toNativeSeparators(tmp.Path())));
  tmp.Write("TmConfig.ini", old);
  // A folder Shift_JIS cannot spell would read back as another folder.
  Settings accented = Settings::Defaults("/home/josé");
  EXPECT_EQ(ConfigFile("SAVE", accented, tmp.Path()), kSaveFailed);

#ifndef _WIN32
  // The disk fills up part way through the new file: writes beyond 100 bytes
  // fail, and the signal that would end the process is ignored meanwhile.
  const std::optional<Notice> notice = WithDiskLimit(100, [&] { return ConfigFile("SAVE", settings, tmp.Path()); });
  EXPECT_EQ(notice, kSaveFailed);
  EXPECT_EQ(tmp.Read("TmConfig.ini"), old);
  // No half-written file is left behind.
  EXPECT_EQ(QDir(tmp.Path()).entryList(QDir::Files), (QStringList{"afile", "TmConfig.ini"}));
#endif
  EXPECT_EQ(settings, kUnusual);

  tmp.Write("TmConfig.ini", "junk");
#ifndef _WIN32
  // An unreadable file whose copy fits in the 100 bytes the disk has left
  // while the defaults do not (as with a read-only file for a user who is not
  // the owner): said, and the settings are the defaults all the same.
  const std::vector<Notice> notices = WithDiskLimit(100, [&] { return ConfigFileNotices("READ", settings, tmp.Path()); });
  EXPECT_EQ(notices, (std::vector<Notice>{kUnreadable, kSaveFailed}));
  EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
  EXPECT_EQ(std::tuple(tmp.Read("TmConfig.ini.bad"), tmp.Read("TmConfig.ini")), std::tuple("junk", "junk"));
  // Room again: the defaults are written, and only the first message shows.
  EXPECT_EQ(ConfigFileNotices("READ", settings, tmp.Path()), std::vector<Notice>{kUnreadable});
  EXPECT_EQ(ConfigFileNotices("READ", settings, tmp.Path()), std::vector<Notice>{});
  tmp.Write("TmConfig.ini", "junk");
#endif
  // An unreadable file that cannot be kept as a copy is not overwritten either: that too is said.
  QFile::remove(tmp.File("TmConfig.ini.bad"));
  tmp.Write("TmConfig.ini.bad/inside", "x");
  EXPECT_EQ(ConfigFileNotices("READ", settings, tmp.Path()), (std::vector<Notice>{kUnreadable, kSaveFailed}));
  EXPECT_EQ(tmp.Read("TmConfig.ini"), QByteArray("junk"));
}

#ifndef _WIN32
// Saving through a link to a pipe (as to a device such as /dev/zero, which a
// test must not touch) would look done and keep nothing.
// A configuration that is a pipe is unreadable without being opened or replaced.
TEST(ConfigFile, NothingIsReadFromOrSavedThroughALinkToSomethingThatIsNotAPlainFileAndThatIsSaid) {
  TempFolder tmp;
  FifoWatch pipe(tmp.File("pipe"));
  ASSERT_TRUE(pipe.Made());
  ASSERT_TRUE(QFile::link(tmp.File("pipe"), tmp.File("TmConfig.ini")));
  Settings settings = kUnusual;
  EXPECT_EQ(ConfigFile("SAVE", settings, tmp.Path()), kSaveFailed);
  EXPECT_EQ(settings, kUnusual);
  EXPECT_EQ(ConfigFile("READ", settings, tmp.Path()), kUnreadable);
  EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
  EXPECT_FALSE(pipe.Opened());
  EXPECT_TRUE(QFileInfo(tmp.File("TmConfig.ini")).isSymLink());
  EXPECT_FALSE(QFileInfo(tmp.File("pipe")).isFile());
}
#endif

TEST(ConfigFile, AProgramFolderShiftJisCannotSpellIsWrittenAsTheDotFormAndReadBack) {
  TempFolder tmp;
  const QString program = tmp.File("josé/Tallymeter");
  ASSERT_TRUE(QDir().mkpath(program));
  Settings settings = kUnusual;
  // First start: the defaults are saved without a word, the folder as ".".
  EXPECT_EQ(ConfigFile("READ", settings, program), std::nullopt);
  EXPECT_EQ(settings, Settings::Defaults(program));
  const auto written = [&] { return DecodeCp932(tmp.Read("josé/Tallymeter/TmConfig.ini")); };
  EXPECT_TRUE(written().contains("\r\n. , 給与明細 , 時給ファイル保存場所\r\n")) << written().toStdString();

  // {log folder, as written}: the program folder itself, beside and inside
  // it relative; a folder Shift_JIS can spell as it was, even when it lies inside.
  const std::pair<QString, QString> folders[] = {
      {program, "."},
      {program + "/ログ", "./ログ"},
      {tmp.File("josé/logs"), "./../logs"},
      {tmp.File("plain"), tmp.File("plain")},
  };
  for (const auto& [folder, stored] : folders) {
    SCOPED_TRACE(folder.toStdString());
    Settings saved = kUnusual;
    // As the options dialog holds it, and as it is shown after reading.
    saved.saveFolder = QDir::toNativeSeparators(folder);
    ASSERT_EQ(ConfigFile("SAVE", saved, program), std::nullopt);
    // The relative form is written with the platform's separator.
    const QString line = QDir::toNativeSeparators(stored);
    EXPECT_TRUE(written().contains("\r\n" + line + " , 時給 2 , 時給ファイル保存場所\r\n"));
    Settings read;
    EXPECT_EQ(ConfigFile("READ", read, program), std::nullopt);
    EXPECT_EQ(read, saved);
  }
  // Nowhere near, and not spellable: the old file stays, nothing is lost.
  const QByteArray before = tmp.Read("josé/Tallymeter/TmConfig.ini");
  Settings far = kUnusual;
  far.saveFolder = "/srv/josé";
  EXPECT_EQ(ConfigFile("SAVE", far, program), kSaveFailed);
  EXPECT_EQ(tmp.Read("josé/Tallymeter/TmConfig.ini"), before);
}

TEST(ConfigFile, AFileSavedAsUtf8ByAnEditorIsReadAsUtf8AndShiftJisStaysShiftJis) {
  const QString folder = QStringLiteral("/home/プレイヤー/ログ");
  const QString text = kDefaultText.arg(folder);
  // {bytes, the folder read}: UTF-8 of Japanese text often also decodes as
  // Shift_JIS without an error; the labels tell them apart. A Shift_JIS
  // file whose bytes happen to be valid UTF-8 stays Shift_JIS.
  const std::pair<QByteArray, QString> cases[] = {
      {text.toUtf8(), folder},
      {EncodeCp932(text), folder},
      {kDefaultText.arg("/home/josé/logs").toUtf8(), "/home/josé/logs"},
      {QString(text).replace("時給ファイル保存場所", "x").replace("ラグキャンセル時間", "y").toUtf8(), folder},
      {EncodeCp932(kDefaultText.arg("/data/ｱｲ")), "/data/ｱｲ"},
  };
  for (const auto& [bytes, expected] : cases) {
    SCOPED_TRACE(expected.toStdString());
    TempFolder tmp;
    tmp.Write("TmConfig.ini", bytes);
    Settings settings;
    EXPECT_EQ(ConfigFile("READ", settings, tmp.Path()), std::nullopt);
    EXPECT_EQ(std::tuple(settings.saveFolder, settings.saveFile), std::tuple(expected, QStringLiteral("給与明細")));
  }
}

TEST(ConfigFile, RecentMemosAreLinesOfTheirOwnReadByTheirPlaceAndSavedAloneWhenAMeasurementEnds) {
  const struct {
    const char* name;
    QString lines;
    QStringList memos;
  } cases[] = {
      {"in their order, commas kept", " 森 , 最近のメモ2\r\n北, 東 , 最近のメモ1\r\n", {"北, 東", "森"}},
      {"a place beyond the five, an empty memo, a repeat",
       "a , 最近のメモ6\r\n , 最近のメモ1\r\nb , 最近のメモ2\r\nb , 最近のメモ3\r\n", {"b"}},
      {"a memo no file should hold is made one", "x\ty , 最近のメモ1\r\n", {"x y"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool damaged = true;
    const std::optional<Settings> read = ParseConfigFileText(Classic(c.lines), &damaged);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::tuple(read->recentMemos, damaged), std::tuple(c.memos, false));
  }

  // Only the memo lines change: what the options dialog has not saved stays unsaved.
  TempFolder tmp;
  Settings settings = Settings::Defaults(tmp.Path());
  EXPECT_FALSE(SaveRecentMemos(tmp.Path(), {"森"})) << "no file yet: the memos wait";
  ASSERT_EQ(ConfigFile("SAVE", settings, tmp.Path()), std::nullopt);
  settings.goalLevel = 260;
  ASSERT_TRUE(SaveRecentMemos(tmp.Path(), {"森", "北, 東"}));
  Settings stored;
  ASSERT_EQ(ConfigFile("READ", stored, tmp.Path()), std::nullopt);
  EXPECT_EQ(std::tuple(stored.recentMemos, stored.goalLevel), std::tuple(QStringList{"森", "北, 東"}, 0));
}
