// The real program, as a player starts it, monitoring the practice game on a
// real X server: with a lag of days in its file it still captures and its
// close box ends it; its wall clock set back an hour (as a daylight-saving
// change or a time-sync correction would) neither stops the captures nor
// misdates their lines; killed between two captures and started again, told
// Yes it measures the next reading from the one before the crash into the
// same log file, told No a new file begins.
#include <QDateTime>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <gtest/gtest.h>

#include "accounting/log_headers.h"
#include "history/log_import.h"
#include "history/sessions_file.h"
#include "persistence/measurement_state.h"
#include "x11_practice_game.h"

namespace {

class RealProgram : public X11Test {
 protected:
  QString Trace() const { return DecodeCp932(folder.Read(QStringLiteral("debug.txt"))); }
  // Waits until the program monitors; its window came up in front, so the
  // player turns back to the game.
  void Started(const QString& level) {
    ASSERT_TRUE(WaitUntil([&] { return Trace().contains(" Log Start"); }, 30000)) << Trace().toStdString();
    ASSERT_NE(ShowGame(*ws, level), 0u);
  }
  TempFolder folder;
};
using App = RealProgram;
using ClockShift = RealProgram;

TEST_F(App, ALagOfDaysInTheFileStillCapturesAndClosingTheWindowEndsTheProgram) {
  // Within its level's size: the guard has no doubt about a first reading.
  PracticeGame game("152", "123456789");
  ASSERT_NE(ShowGame(*ws, "152"), 0u);
  // A hand-edited file: the dialog allows 0 to 100.
  Meter meter(InstallProgram(folder, "Tallymeter", [](Settings& s) { s.lag = 2147483647; }));
  Started("152");
  // The first capture, 15 seconds on, reads the game with the longest lag the
  // dialog offers instead of waiting for 24 days.
  EXPECT_TRUE(WaitUntil([&] { return Trace().contains(" Fast ImageRecognition"); }, 90000)) << Trace().toStdString();

  // The close box ends the program, whatever it was waiting for.
  const WindowId meterWindow = ws->FindWindowByTitle(QStringLiteral("Tallymeter  For MapleStory"));
  ASSERT_NE(meterWindow, 0u);
  Xdotool({"windowactivate", "--sync", QString::number(meterWindow), "key", "alt+F4"});
  EXPECT_TRUE(meter.process.waitForFinished(30000)) << "the program outlived its window";
}

// Started and closed again and again, the main window comes back where it
// was left, also at the top of the screen.
TEST_F(App, TheMainWindowsPlaceDoesNotWalkFromStartToStart) {
  const QString program = InstallProgram(folder, "Tallymeter", [](Settings& s) {
    std::tie(s.autoStart, s.mainWindowX, s.mainWindowY, s.mainWindowWidth, s.mainWindowHeight) =
        std::tuple(false, 760, 0, 520, 388);
  });
  for (int start = 0; start < 3; ++start) {
    Meter meter(program);
    WindowId window = 0;
    ASSERT_TRUE(WaitUntil([&] { return (window = ws->FindWindowByTitle(QStringLiteral("Tallymeter  For MapleStory"))) != 0; }));
    QTest::qWait(2000);  // the window manager's frame has come
    Xdotool({"windowactivate", "--sync", QString::number(window), "key", "alt+F4"});
    ASSERT_TRUE(meter.process.waitForFinished(30000));
  }
  Settings stored;
  ConfigFile(QStringLiteral("READ"), stored, folder.Path());
  EXPECT_EQ(std::tuple(stored.mainWindowX, stored.mainWindowY), std::tuple(760, 0));
}

// The next capture still comes one interval after the last, and its line
// carries the wall clock's new time.
TEST_F(ClockShift, AWallClockSetBackWhileMonitoringNeitherStopsTheCapturesNorMisdatesTheirLines) {
  folder.Write(QStringLiteral("shift"), "0");
  auto game = std::make_unique<PracticeGame>("190", "1234567890");
  ASSERT_NE(ShowGame(*ws, "190"), 0u);
  Meter meter(InstallProgram(folder, "tallymeter_shifted_clock", [](Settings& s) { s.captureInterval = 1; }),
              {"TALLYMETER_TEST_WALL_SHIFT=" + folder.File(QStringLiteral("shift"))});
  Started("190");
  ASSERT_TRUE(WaitUntil([&] { return LogLines(folder.Path()).size() == 1; }, 60000)) << "no first reading";
  const QDateTime firstAt = QDateTime::currentDateTime();

  // An hour back, and experience gained meanwhile.
  folder.Write(QStringLiteral("shift"), "-3600");
  game = std::make_unique<PracticeGame>("190", "1234600000");
  ASSERT_NE(ShowGame(*ws, "190"), 0u);
  ASSERT_TRUE(WaitUntil([&] { return LogLines(folder.Path()).size() == 2; }, 90000)) << "no capture an interval later";
  EXPECT_LE(firstAt.secsTo(QDateTime::currentDateTime()), 75);
  const QString line = LogLines(folder.Path()).last();
  static const QRegularExpression gain(
      QStringLiteral("^(\\d\\d/\\d\\d \\d\\d:\\d\\d)   190   1,234,600,000       32,110 +(\\d+\\.\\d) "));
  const QRegularExpressionMatch match = gain.match(line);
  ASSERT_TRUE(match.hasMatch()) << line.toStdString();
  const QDateTime dated = QDateTime::fromString(QDateTime::currentDateTime().toString("yyyy/") + match.captured(1),
                                                QStringLiteral("yyyy/MM/dd hh:mm"));
  EXPECT_NEAR(dated.secsTo(QDateTime::currentDateTime()), 3600, 120) << "dated by the wall clock set back";
  EXPECT_NEAR(match.captured(2).toDouble(), 1.0, 0.25) << "a minute on the monotonic clock";
}

class CrashTest : public RealProgram {
 protected:
  void SetUp() override {
    RealProgram::SetUp();
    program_ = InstallProgram(folder);
  }
  void TearDown() override {
    game_.reset();
    RealProgram::TearDown();
  }
  void ShowPracticeGame(const QString& exp) {
    game_.reset();
    ASSERT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
    game_.emplace("190", exp);
    ASSERT_NE(ShowGame(*ws, "190"), 0u) << "the practice game did not come to the front";
  }
  void Crash() {
    ::kill(static_cast<pid_t>(meter_->process.processId()), SIGKILL);
    ASSERT_TRUE(meter_->process.waitForFinished(10000));
    EXPECT_EQ(meter_->process.exitStatus(), QProcess::CrashExit);
  }
  // Starts the program again, answers its question at start with `key` and
  // gives the game the front again.
  void RestartAndAnswer(const char* key) {
    const QString title = QStringLiteral("計測の再開");
    meter_.emplace(program_);
    WindowId box = 0;
    ASSERT_TRUE(WaitUntil([&] { return (box = ws->FindWindowByTitle(title)) != 0; }, 30000)) << "no question at start";
    Xdotool({"windowactivate", "--sync", QString::number(box), "key", key});
    ASSERT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(title) == 0; }));
    ASSERT_NE(ShowGame(*ws, "190"), 0u);
  }
  QStringList LogFiles() const { return QDir(folder.File("log")).entryList(QDir::Files, QDir::Name); }
  bool StateSaved() const { return QFile::exists(MeasurementStatePath(folder.Path())); }

  QString program_;
  std::optional<Meter> meter_;
  std::optional<PracticeGame> game_;
};

TEST_F(CrashTest, KilledBetweenCapturesItContinuesTheLogWhenToldYesAndBeginsANewOneWhenToldNo) {
  ShowPracticeGame("1234567890");
  meter_.emplace(program_);
  Started("190");
  ASSERT_TRUE(WaitUntil([&] { return StateSaved() && LogFiles().size() == 1; }, 60000))
      << "no first reading\n" << Trace().toStdString();
  const QString file = LogFiles().first();
  const QString header = LogLines(folder.Path(), file).first();
  const QDateTime killedAt = QDateTime::currentDateTime();
  Crash();  // the next capture is twenty minutes away

  ShowPracticeGame("1234600000");
  const QDateTime restartedAt = QDateTime::currentDateTime();
  RestartAndAnswer("Return");  // Yes
  ASSERT_TRUE(WaitUntil([&] { return LogLines(folder.Path(), file).size() == 2; }, 60000)) << "no gain line";
  EXPECT_EQ(LogFiles(), QStringList{file});
  const QStringList lines = LogLines(folder.Path(), file);
  EXPECT_EQ(lines.first(), header);
  // 32,110 gained since the reading before the crash, over the wall-clock time
  // between the two: at least from the kill to the restart, at most a minute more.
  static const QRegularExpression gainLine(
      QStringLiteral("^\\d\\d/\\d\\d \\d\\d:\\d\\d   190   1,234,600,000       32,110 +(\\d+\\.\\d) +([\\d,]+) $"));
  const QRegularExpressionMatch match = gainLine.match(lines.last());
  ASSERT_TRUE(match.hasMatch()) << lines.last().toStdString();
  // Cut to the tenth: the rate is a little above the true one.
  const double elapsed = match.captured(1).toDouble() * 60;
  EXPECT_GE(elapsed, killedAt.secsTo(restartedAt) - 6);
  EXPECT_LE(elapsed, 120);
  EXPECT_NEAR(match.captured(2).remove(',').toDouble(), 32110 / elapsed * 3.6, 32110 / elapsed * 3.6 * 0.25);

  // Again, and this time the player starts afresh; a new file needs a new minute.
  Crash();
  ASSERT_TRUE(StateSaved());
  ASSERT_TRUE(WaitUntil([&] { return QDateTime::currentDateTime().toString("yyyyMMddhhmm") != file.mid(4, 12); },
                        70000));
  RestartAndAnswer("Escape");  // No
  // The program creates the file and then writes its header: wait for both.
  ASSERT_TRUE(WaitUntil([&] { return LogFiles().size() == 2 && !LogLines(folder.Path(), LogFiles().last()).isEmpty(); },
                        60000))
      << "no new file";
  EXPECT_EQ(LogLines(folder.Path(), file).size(), 2) << "the old file is left alone";
  EXPECT_EQ(LogLines(folder.Path(), LogFiles().last()), QStringList{header});
}

// The disk full just as the first reading comes: its header does not get
// into the log file (a box says so, and one that the measurement could not
// be continued); with room again the next line comes after the header. Then
// killed twice and continued each time: the measurement's record holds all
// it gained, as its log file does.
TEST_F(CrashTest, AHeaderThatFoundNoRoomComesLaterAndARecordContinuedTwiceCoversItAll) {
  program_ = InstallProgram(folder, "Tallymeter", [](Settings& s) { s.captureInterval = 1; });
  std::unique_ptr<PracticeGame> game;
  const auto play = [&](const char* exp) {  // the new game up before the old one goes
    game = std::make_unique<PracticeGame>("190", exp);
    return ShowGame(*ws, "190") != 0;
  };
  ASSERT_TRUE(play("1234567890"));
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);  // inherited: a write beyond the limit fails
  meter_.emplace(program_);
  std::signal(SIGXFSZ, handler);
  Started("190");
  const auto limit = [&](rlim_t bytes) {
    const rlimit fsize{bytes, RLIM_INFINITY};
    return ::prlimit(static_cast<pid_t>(meter_->process.processId()), RLIMIT_FSIZE, &fsize, nullptr) == 0;
  };
  ASSERT_TRUE(limit(0));  // not one byte more in any file
  for (const QString& title : {QStringLiteral("ログファイル書込みエラー"), QStringLiteral("計測の記録")}) {
    WindowId box = 0;
    ASSERT_TRUE(WaitUntil([&] { return (box = ws->FindWindowByTitle(title)) != 0; }, 60000)) << title.toStdString();
    Xdotool({"windowactivate", "--sync", QString::number(box), "key", "Return"});
  }
  ASSERT_EQ(LogFiles().size(), 1u);
  const QString file = LogFiles().first();
  EXPECT_EQ(folder.Read("log/" + file), QByteArray()) << "left empty";
  ASSERT_TRUE(limit(RLIM_INFINITY));
  for (const char* exp : {"1234600000", "1234700000", "1234800000"}) {
    const qsizetype before = LogLines(folder.Path(), file).size();  // none yet: the header comes too
    if (before > 0) Crash();
    ASSERT_TRUE(play(exp));
    if (before > 0) RestartAndAnswer("Return");  // Yes
    // Killed only once the state is saved after the line (a kill between the two is another fault).
    ASSERT_TRUE(WaitUntil([&] { return LogLines(folder.Path(), file).size() == std::max<qsizetype>(before + 1, 2) &&
                                       folder.Read("TmMeasure.ini").contains(QByteArray(exp) + " , Exp"); }, 90000)) << exp;
  }
  EXPECT_EQ(LogLines(folder.Path(), file).first(), FileHeader(false));
  const WindowId meterWindow = ws->FindWindowByTitle(QStringLiteral("Tallymeter  For MapleStory"));
  Xdotool({"windowactivate", "--sync", QString::number(meterWindow), "key", "alt+F4"});
  ASSERT_TRUE(meter_->process.waitForFinished(30000));
  const std::vector<MeasurementRecord> kept = ReadSessionsFile(folder.Path()).records;
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(std::tuple(kept[0].gained, ImportLogFolder(folder.File("log")).records.at(0).gained),
            std::tuple(232'110.0, 232'110.0));
}

}  // namespace

// Killed, its log file then deleted, and continued: the one-time box that a
// new file is begun comes up where the player sees it, and the new file is
// begun with its header.
TEST_F(CrashTest, AContinuedMeasurementWhoseLogFileIsGoneSaysSoInABoxThatShows) {
  program_ = InstallProgram(folder, "Tallymeter", [](Settings& s) { s.captureInterval = 1; });
  ShowPracticeGame("1234567890");
  meter_.emplace(program_);
  Started("190");
  ASSERT_TRUE(WaitUntil([&] { return StateSaved() && LogFiles().size() == 1; }, 60000)) << "no first reading";
  Crash();
  ASSERT_TRUE(QFile::remove(folder.File("log/" + LogFiles().first())));
  ShowPracticeGame("1234600000");
  RestartAndAnswer("Return");  // Yes
  WindowId box = 0;
  ASSERT_TRUE(WaitUntil([&] { return (box = ws->FindWindowByTitle(QStringLiteral("計測の再開"))) != 0; }, 90000))
      << "no box\n" << Trace().toStdString();
  Xdotool({"windowactivate", "--sync", QString::number(box), "key", "Return"});
  ASSERT_TRUE(WaitUntil([&] { return LogFiles().size() == 1; }, 30000));
  EXPECT_EQ(LogLines(folder.Path(), LogFiles().first()).first(), FileHeader(false));
}
