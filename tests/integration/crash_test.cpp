// The real program, monitoring the practice game on a real X server, is
// killed between two captures and started again: told Yes, it measures the
// next reading from the one before the crash into the same log file; told
// No, a new file begins.
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

#include "persistence/measurement_state.h"
#include "persistence/text_file.h"
#include "x11_practice_game.h"

namespace {

const QString kBoxTitle = QStringLiteral("計測の再開");

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    x11_ = OpenX11WindowSystem();
    ASSERT_NE(x11_, nullptr) << "no X display";
    program_ = InstallProgram(folder_);
  }
  void TearDown() override {
    tallymeter_.kill();
    tallymeter_.waitForFinished(10000);
  }

  void ShowPracticeGame(const QString& exp) {
    game_.reset();
    ASSERT_TRUE(WaitUntil([&] { return x11_->FindWindowByTitle(kGame) == 0; }));
    game_.emplace("190", exp);
    ASSERT_NE(ShowGame(*x11_, "190"), 0u) << "the practice game did not come to the front";
  }
  void StartTallymeter() {
    tallymeter_.setStandardOutputFile(QProcess::nullDevice());
    tallymeter_.setStandardErrorFile(QProcess::nullDevice());
    tallymeter_.start(program_, {});
    ASSERT_TRUE(tallymeter_.waitForStarted(10000));
  }
  void Crash() {
    ::kill(static_cast<pid_t>(tallymeter_.processId()), SIGKILL);
    ASSERT_TRUE(tallymeter_.waitForFinished(10000));
    EXPECT_EQ(tallymeter_.exitStatus(), QProcess::CrashExit);
  }
  // Answers the question at start with `key` and gives the game the front again.
  void Answer(const char* key) {
    WindowId box = 0;
    ASSERT_TRUE(WaitUntil([&] { return (box = x11_->FindWindowByTitle(kBoxTitle)) != 0; }, 30000))
        << "no question at start";
    Xdotool({"windowactivate", "--sync", QString::number(box), "key", key});
    ASSERT_TRUE(WaitUntil([&] { return x11_->FindWindowByTitle(kBoxTitle) == 0; }));
    ASSERT_NE(ShowGame(*x11_, "190"), 0u);
  }
  QStringList LogFiles() const { return QDir(folder_.File("log")).entryList(QDir::Files, QDir::Name); }
  QStringList LogLines(const QString& name) const {
    return DecodeCp932(folder_.Read("log/" + name)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  bool StateSaved() const { return QFile::exists(MeasurementStatePath(folder_.Path())); }

  std::unique_ptr<WindowSystem> x11_;
  TempFolder folder_;
  QString program_;
  QProcess tallymeter_;
  std::optional<PracticeGame> game_;
};

TEST_F(CrashTest, KilledBetweenCapturesItContinuesTheLogWhenToldYesAndBeginsANewOneWhenToldNo) {
  ShowPracticeGame("1234567890");
  StartTallymeter();
  // Its window comes up in front; the player turns back to the game.
  ASSERT_TRUE(WaitUntil([&] { return folder_.Read("debug.txt").contains(" Log Start"); }, 30000));
  ASSERT_NE(ShowGame(*x11_, "190"), 0u);
  ASSERT_TRUE(WaitUntil([&] { return StateSaved() && LogFiles().size() == 1; }, 60000))
      << "no first reading\n" << folder_.Read("debug.txt").toStdString();
  const QString file = LogFiles().first();
  const QString header = LogLines(file).first();
  const QDateTime killedAt = QDateTime::currentDateTime();
  Crash();  // the next capture is twenty minutes away

  ShowPracticeGame("1234600000");
  const QDateTime restartedAt = QDateTime::currentDateTime();
  StartTallymeter();
  Answer("Return");  // Yes
  ASSERT_TRUE(WaitUntil([&] { return LogLines(file).size() == 2; }, 60000)) << "no gain line";
  EXPECT_EQ(LogFiles(), QStringList{file});
  const QStringList lines = LogLines(file);
  EXPECT_EQ(lines.first(), header);
  // 32,110 gained since the reading before the crash, over the wall-clock time
  // between the two: at least from the kill to the restart, at most a minute more.
  static const QRegularExpression gainLine(
      QStringLiteral("^\\d\\d/\\d\\d \\d\\d:\\d\\d   190   1,234,600,000       32,110 +(\\d+\\.\\d) +([\\d,]+) $"));
  const QRegularExpressionMatch match = gainLine.match(lines.last());
  ASSERT_TRUE(match.hasMatch()) << lines.last().toStdString();
  const double minutes = match.captured(1).toDouble();
  EXPECT_GE(minutes * 60, killedAt.secsTo(restartedAt) - 6);
  EXPECT_LE(minutes, 2.0);
  const double elapsed = minutes * 60;  // cut to the tenth, so the rate is a little above the true one
  EXPECT_NEAR(match.captured(2).remove(',').toDouble(), 32110 / elapsed * 3.6, 32110 / elapsed * 3.6 * 0.25);

  // Again, and this time the player starts afresh; a new file needs a new minute.
  Crash();
  ASSERT_TRUE(StateSaved());
  ASSERT_TRUE(WaitUntil([&] { return QDateTime::currentDateTime().toString("yyyyMMddhhmm") != file.mid(4, 12); },
                        70000));
  StartTallymeter();
  Answer("Escape");  // No
  ASSERT_TRUE(WaitUntil([&] { return LogFiles().size() == 2; }, 60000)) << "no new file";
  EXPECT_EQ(LogLines(file).size(), 2) << "the old file is left alone";
  EXPECT_EQ(LogLines(LogFiles().last()), QStringList{header});
}

}  // namespace
