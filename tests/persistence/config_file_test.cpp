#include "persistence/config_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "persistence/text_file.h"
#include "support/temp_folder.h"

namespace {

// The file a first start writes, laid out by hand.
QString DefaultText(const QString& folder) {
  return QStringLiteral(
             "   35 ,  576 ,  44 ,  13 , キャプチャ領域1、開始座標とサイズ\r\n"
             "  463 ,  570 ,  90 ,   9 , キャプチャ領域2、開始座標とサイズ\r\n"
             "  False , 自動開始フラグ\r\n"
             "     20 , キャプチャインターバル(分)\r\n"
             "  False , キャプチャ時に音を鳴らす\r\n") +
         folder +
         QStringLiteral(
             " , 給与明細 , 時給ファイル保存場所\r\n"
             "  False , 時給ファイルをCSVで保存する\r\n"
             "  False , 時給記録ファイルを一ヶ月追記する\r\n"
             "     50 , ラグキャンセル時間(m秒)\r\n"
             "\r\n");
}

QByteArray DefaultBytes(const QString& folder) { return EncodeCp932(DefaultText(folder)); }

Notice Unreadable() {
  return {QStringLiteral("読込みできない設定ファイルです\r\n初期値で継続します\r\n"), QStringLiteral("設定ファイル読込み")};
}

Notice SaveFailed() { return {QStringLiteral("設定をファイルに保存できませんでした。"), QStringLiteral("設定ファイル書き込み")}; }

Settings Unusual() {
  Settings s;
  s.captureRegions[0] = {123456, -5, 500, 0};
  s.captureRegions[1] = {-2147483647 - 1, 2147483647, 4, 100};
  s.autoStart = true;
  s.captureInterval = 1440;
  s.beepBeep = true;
  s.saveFolder = QStringLiteral("/home/プレイヤー/my logs");
  s.saveFile = QStringLiteral("時給 2");
  s.saveCsv = true;
  s.saveDistance = true;
  s.lag = -10;
  return s;
}

QString WithLine(const QString& text, int line, const QString& replacement) {
  QStringList lines = text.split(QStringLiteral("\r\n"));
  lines[line - 1] = replacement;
  return lines.join(QStringLiteral("\r\n"));
}

// Writes beyond `bytes` fail from now until the end of the scope, as on a
// full disk. The signal that would end the process is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

}  // namespace

TEST(ConfigFile, FirstStartWritesTheDefaultFileSilently) {
  EXPECT_EQ(EncodeCp932(ConfigFileText(Settings::Defaults(QStringLiteral("/opt/Tools/Meter")))),
            DefaultBytes(QStringLiteral("/opt/Tools/Meter")));

  TempFolder tmp;
  Settings settings;
  EXPECT_EQ(ConfigFile(QStringLiteral("READ"), settings, tmp.Path()), std::nullopt);
  EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
  EXPECT_EQ(tmp.Read("TmConfig.ini"), DefaultBytes(tmp.Path()));
  EXPECT_FALSE(QFileInfo::exists(tmp.File("TmConfig.ini.bad")));
}

TEST(ConfigFile, OnlyTheThreeUpperCaseModesDoAnything) {
  TempFolder tmp;
  Settings settings = Unusual();
  EXPECT_EQ(ConfigFile(QStringLiteral("read"), settings, tmp.Path()), std::nullopt);
  EXPECT_EQ(ConfigFile(QStringLiteral("DATA"), settings, tmp.Path()), std::nullopt);
  EXPECT_EQ(ConfigFile(QString(), settings, tmp.Path()), std::nullopt);
  EXPECT_EQ(settings, Unusual());
  EXPECT_FALSE(QFileInfo::exists(tmp.File("TmConfig.ini")));

  EXPECT_EQ(ConfigFile(QStringLiteral("INIT"), settings, tmp.Path()), std::nullopt);
  EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
  EXPECT_EQ(tmp.Read("TmConfig.ini"), DefaultBytes(tmp.Path()));
}

TEST(ConfigFile, EveryFieldSurvivesSaveAndRead) {
  TempFolder tmp;
  Settings saved = Unusual();
  ASSERT_EQ(ConfigFile(QStringLiteral("SAVE"), saved, tmp.Path()), std::nullopt);
  EXPECT_EQ(saved, Unusual());
  const QString text = DecodeCp932(tmp.Read("TmConfig.ini"));
  EXPECT_TRUE(text.startsWith(QStringLiteral(" 123456 ,   -5 , 500 ,   0 , キャプチャ領域1"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("\r\n   True , 自動開始フラグ\r\n")));

  Settings read;
  EXPECT_EQ(ConfigFile(QStringLiteral("READ"), read, tmp.Path()), std::nullopt);
  EXPECT_EQ(read, Unusual());

  // The same file with Unix line ends, as after an edit on this system.
  QString unixText = text;
  unixText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_EQ(ParseConfigFileText(unixText), Unusual());
}

TEST(ConfigFile, FlagsAreWordsInAnyCaseOrNumbers) {
  const QString base = DefaultText(QStringLiteral("/opt/Tools/Meter"));
  const struct {
    const char* word;
    bool on;
  } cases[] = {{"TRUE", true}, {"true", true}, {"-1", true}, {"2.5", true}, {"FALSE", false}, {"0", false}, {"0.0", false}};
  for (const auto& c : cases) {
    const std::optional<Settings> s =
        ParseConfigFileText(WithLine(base, 3, QStringLiteral(" %1 , 自動開始フラグ").arg(QLatin1String(c.word))));
    ASSERT_TRUE(s.has_value()) << c.word;
    EXPECT_EQ(s->autoStart, c.on) << c.word;
  }
  // Numbers outside the options dialog's ranges are taken as they are.
  const std::optional<Settings> wide = ParseConfigFileText(WithLine(base, 1, QStringLiteral("5,5,500,4, label")));
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(wide->captureRegions[0], (CaptureRegion{5, 5, 500, 4}));
}

TEST(ConfigFile, AnUnreadableFileIsKeptAsBadAndTheDefaultsReturn) {
  const QString good = DefaultText(QStringLiteral("/somewhere"));
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"ends before the last label", EncodeCp932(good.left(good.lastIndexOf(QStringLiteral(" ラグ"))))},
      {"last line missing", EncodeCp932(good.left(good.indexOf(QStringLiteral("     50 ,"))))},
      {"flag word", EncodeCp932(WithLine(good, 5, QStringLiteral("  Yes , キャプチャ時に音を鳴らす")))},
      {"empty flag", EncodeCp932(WithLine(good, 7, QStringLiteral(" , 時給ファイルをCSVで保存する")))},
      {"text in a number", EncodeCp932(WithLine(good, 4, QStringLiteral("     2O , キャプチャインターバル(分)")))},
      {"number too large", EncodeCp932(WithLine(good, 9, QStringLiteral("  2147483648 , ラグ")))},
      {"binary", QByteArray("\x00\xff\x81,\r\n\x00", 7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder tmp;
    tmp.Write("TmConfig.ini", c.bytes);
    Settings settings = Unusual();
    EXPECT_EQ(ConfigFile(QStringLiteral("READ"), settings, tmp.Path()), Unreadable());
    EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
    EXPECT_EQ(tmp.Read("TmConfig.ini"), DefaultBytes(tmp.Path()));
    EXPECT_EQ(tmp.Read("TmConfig.ini.bad"), c.bytes);
    EXPECT_TRUE(QFileInfo::exists(tmp.File("TmConfig.ini.bad")));
  }
}

TEST(ConfigFile, AnUnreadableFileThatCannotBeKeptIsNotOverwritten) {
  TempFolder tmp;
  tmp.Write("TmConfig.ini", "junk");
  tmp.Write("TmConfig.ini.bad/inside", "x");  // a folder: no copy can go there
  Settings settings = Unusual();
  EXPECT_EQ(ConfigFile(QStringLiteral("READ"), settings, tmp.Path()), Unreadable());
  EXPECT_EQ(settings, Settings::Defaults(tmp.Path()));
  EXPECT_EQ(tmp.Read("TmConfig.ini"), QByteArray("junk"));
}

TEST(ConfigFile, AFolderWithCommasComesBackWhole) {
  for (const QString& folder : {QStringLiteral("/data/a, b,c"), QStringLiteral("/data/x , y"), QStringLiteral("/d,"),
                                QStringLiteral(","), QString()}) {
    SCOPED_TRACE(folder.toStdString());
    TempFolder tmp;
    Settings saved = Settings::Defaults(folder);
    ASSERT_EQ(ConfigFile(QStringLiteral("SAVE"), saved, tmp.Path()), std::nullopt);
    Settings read;
    EXPECT_EQ(ConfigFile(QStringLiteral("READ"), read, tmp.Path()), std::nullopt);
    EXPECT_EQ(read, saved);
  }
  // Lines without extra commas read as plain fields, blanks or not.
  const QString base = DefaultText(QStringLiteral("/opt/Tools/Meter"));
  const std::optional<Settings> tight =
      ParseConfigFileText(WithLine(base, 6, QStringLiteral("\t/opt/a b\t,name  ,label")));
  ASSERT_TRUE(tight.has_value());
  EXPECT_EQ(tight->saveFolder, QStringLiteral("/opt/a b"));
  EXPECT_EQ(tight->saveFile, QStringLiteral("name"));
  // A line 6 without its label still shifts the fields and is refused.
  EXPECT_EQ(ParseConfigFileText(WithLine(base, 6, QStringLiteral("/opt/a , name"))), std::nullopt);
}

TEST(ConfigFile, AFailedSaveKeepsTheSettingsAndTheOldFile) {
  TempFolder tmp;
  tmp.Write("afile", "x");
  Settings settings = Unusual();
  EXPECT_EQ(ConfigFile(QStringLiteral("SAVE"), settings, tmp.File("afile/sub")), SaveFailed());
  EXPECT_EQ(settings, Unusual());
  EXPECT_EQ(ConfigFile(QStringLiteral("SAVE"), settings, QStringLiteral("/proc/self")), SaveFailed());

  // A folder Shift_JIS cannot spell would read back as another folder.
  tmp.Write("TmConfig.ini", DefaultBytes(tmp.Path()));
  Settings accented = Settings::Defaults(QStringLiteral("/home/josé"));
  EXPECT_EQ(ConfigFile(QStringLiteral("SAVE"), accented, tmp.Path()), SaveFailed());
  EXPECT_EQ(tmp.Read("TmConfig.ini"), DefaultBytes(tmp.Path()));

  // The disk fills up half way through the new file: the old one is intact
  // and no half-written file is left behind.
  const QString folder = tmp.File("prog");
  QDir().mkpath(folder);
  tmp.Write("prog/TmConfig.ini", DefaultBytes(folder));
  {
    FileSizeLimit limit(100);
    EXPECT_EQ(ConfigFile(QStringLiteral("SAVE"), settings, folder), SaveFailed());
  }
  EXPECT_EQ(tmp.Read("prog/TmConfig.ini"), DefaultBytes(folder));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"TmConfig.ini"});
  EXPECT_EQ(settings, Unusual());

  // Unreadable and unwritable: the one message is the unreadable file.
  tmp.Write("prog/TmConfig.ini", "junk");
  {
    FileSizeLimit limit(100);
    EXPECT_EQ(ConfigFile(QStringLiteral("READ"), settings, folder), Unreadable());
  }
  EXPECT_EQ(settings, Settings::Defaults(folder));
  EXPECT_EQ(tmp.Read("prog/TmConfig.ini"), QByteArray("junk"));
}
