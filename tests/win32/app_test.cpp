// The program as a player gets it: Tallymeter.exe and PracticeWindow.exe from
// the unzipped package (TALLYMETER_PACKAGE_DIR), monitoring started at once,
// the real clock. The log file holds the header and the gain line exactly as
// the readings of what the practice window showed give them, and debug.txt
// holds the run's trace. The package also looks and speaks like a Windows
// program: the native style, Qt's own buttons in Japanese, and a log font
// that lines up the columns (LookProbe.exe, run from the package folder,
// finds what Tallymeter.exe finds there).
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "accounting/evaluation.h"
#include "accounting/log_headers.h"
#include "capture/win32/win32_process.h"
#include "capture/win32/win32_window_system.h"
#include "base/cp932.h"
#include "integration/practice_game.h"
#include "persistence/config_file.h"

namespace {

struct Shown {
  std::int32_t level = 0;
  std::int64_t exp = 0;
};

// "level=<L> exp=<E>" lines the practice window prints at start and at every gain.
void TakeReports(QProcess& game, std::vector<Shown>& shown) {
  while (game.canReadLine()) {
    const QString line = QString::fromLatin1(game.readLine()).trimmed();
    const QStringList parts = line.split(u' ');
    if (parts.size() != 2 || !parts[0].startsWith("level=") || !parts[1].startsWith("exp=")) continue;
    shown.push_back({parts[0].mid(6).toInt(), parts[1].mid(4).toLongLong()});
  }
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The TXT gain line the evaluation makes of two readings `seconds` apart,
// dated as `line` is dated ("MM/dd hh:mm" first).
QByteArray GainLine(const QByteArray& line, const Shown& first, const Shown& second, int seconds) {
  const QString text = DecodeCp932(line);
  const QDate today = QDate::currentDate();
  const QDateTime at(QDate(today.year(), text.mid(0, 2).toInt(), text.mid(3, 2).toInt()),
                     QTime(text.mid(6, 2).toInt(), text.mid(9, 2).toInt()));
  ReadingEvaluator evaluator;
  evaluator.Evaluate(first.level, static_cast<double>(first.exp), at.addSecs(-seconds), 0, false);
  const EvaluationStep step =
      evaluator.Evaluate(second.level, static_cast<double>(second.exp), at, std::int64_t{seconds} * 1000, false);
  return step.fileLine ? EncodeCp932(*step.fileLine) + "\r\n" : QByteArray();
}

TEST(WindowsApp, MonitorsThePracticeWindowAndLogsTheGainByteForByte) {
  const QString package = qEnvironmentVariable("TALLYMETER_PACKAGE_DIR");
  if (package.isEmpty()) GTEST_SKIP() << "TALLYMETER_PACKAGE_DIR names no unzipped package";
  ASSERT_TRUE(QFile::exists(package + "/Tallymeter.exe")) << package.toStdString();
  // A fresh start: the files of an earlier run go.
  for (const char* name : {"TmConfig.ini", "debug.txt", "debugBackUp.txt", "Tallymeter.lock"}) {
    QFile::remove(package + "/" + QLatin1String(name));
  }
  QDir(package + "/log").removeRecursively();
  QDir(package + "/Pattern").removeRecursively();
  // The player's patterns as they are after the first start, so that no
  // first-start message waits for a click.
  InstallPatterns(package);
  Settings settings = Settings::Defaults(package);
  settings.autoStart = true;
  settings.captureInterval = 1;
  settings.beepBeep = true;
  ASSERT_EQ(ConfigFile(QStringLiteral("SAVE"), settings, package), std::nullopt);

  const std::unique_ptr<WindowSystem> ws = OpenWin32WindowSystem();
  // Low in its level, so that no gain jumps several levels (which would
  // begin a new measurement).
  QProcess game;
  game.start(package + "/PracticeWindow.exe", {"--level", "152", "--exp", "12345678", "--step-ms", "25000"});
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));

  QProcess meter;
  meter.start(package + "/Tallymeter.exe", {});
  const auto trace = [&] { return DecodeCp932(ReadFile(package + "/debug.txt")); };
  ASSERT_TRUE(WaitUntil([&] { return trace().contains(QStringLiteral(" Log Start･･･ ")); }, 60000))
      << trace().toStdString();

  // The game in front at every capture, as a player keeps it; the first
  // reading comes some 20 seconds after start, the next a minute later.
  std::vector<Shown> shown;
  const auto logFiles = [&] { return QDir(package + "/log").entryList(QDir::Files); };
  const auto logLines = [&]() -> QByteArray {
    const QStringList files = logFiles();
    return files.size() == 1 ? ReadFile(package + "/log/" + files.front()) : QByteArray();
  };
  const bool logged = WaitUntil(
      [&] {
        TakeReports(game, shown);
        if (ws->ForegroundWindow() != id) BringWindowToFront(id);
        return logLines().count("\r\n") >= 2;
      },
      150000);
  TakeReports(game, shown);
  EndProcess(meter);
  EndProcess(game);
  ASSERT_TRUE(logged) << "no gain line in " << logFiles().join(", ").toStdString();

  const QByteArray log = logLines();
  const QByteArray header = EncodeCp932(TxtFileHeader()) + "\r\n";
  ASSERT_TRUE(log.startsWith(header)) << log.toStdString();
  const QByteArray line = log.mid(header.size());
  // Which of the shown counters the two captures read, and how far apart
  // they were, is up to the real clock: one choice must give the line exactly.
  bool matched = false;
  for (std::size_t i = 0; i < shown.size() && !matched; ++i) {
    for (std::size_t j = i + 1; j < shown.size() && !matched; ++j) {
      for (int seconds = 50; seconds <= 90 && !matched; ++seconds) matched = GainLine(line, shown[i], shown[j], seconds) == line;
    }
  }
  EXPECT_TRUE(matched) << "line: " << DecodeCp932(line).toStdString() << " after " << shown.size() << " counters shown";

  // The trace of that run begins with the start and has every line dated (the
  // order of the start-up's events is the start-up test's).
  const QStringList lines = trace().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_TRUE(lines.front().endsWith(QStringLiteral(" Starting Program･･･Ver.0.21"))) << lines.front().toStdString();
  for (const QString& line : lines) EXPECT_TRUE(line.at(0).isDigit()) << line.toStdString();
}

TEST(WindowsLook, TheNativeStyleJapaneseButtonsAndALogFontThatAligns) {
  const QString package = qEnvironmentVariable("TALLYMETER_PACKAGE_DIR");
  if (package.isEmpty()) GTEST_SKIP() << "TALLYMETER_PACKAGE_DIR names no unzipped package";
  const QString probe = package + "/LookProbe.exe";
  QFile::remove(probe);
  ASSERT_TRUE(QFile::copy(BinDir() + "/LookProbe.exe", probe));
  QProcess run;
  run.start(probe, {});
  const bool ended = WaitUntil([&] { return run.state() == QProcess::NotRunning; }, 120000);
  EndProcess(run);
  QFile::remove(probe);
  ASSERT_TRUE(ended);
  const QString out = QString::fromUtf8(run.readAllStandardOutput()).remove(u'\r');  // the console writes CR LF
  EXPECT_TRUE(out.startsWith("style=windowsvista\n")) << out.toStdString();
  // Qt's Japanese buttons may carry their keys ("はい(&Y)").
  static const QRegularExpression buttons(QStringLiteral("^buttons=[^\n/]*はい[^\n/]*/[^\n]*いいえ"),
                                          QRegularExpression::MultilineOption);
  EXPECT_TRUE(out.contains(buttons)) << out.toStdString();
  EXPECT_TRUE(out.contains(" aligned=1")) << out.toStdString();
}

}  // namespace
