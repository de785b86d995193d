// The program itself, monitoring the practice game on a real X server, while
// its wall clock is set back an hour (as a daylight-saving change or a
// time-sync correction would): the next capture still comes one interval
// after the last, and its line carries the wall clock's new time.
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "x11_practice_game.h"

namespace {

TEST(ClockShift, AWallClockSetBackWhileMonitoringNeitherStopsTheCapturesNorMisdatesTheirLines) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  const QString program =
      InstallProgram(folder, "tallymeter_shifted_clock", [](Settings& s) { s.captureInterval = 1; });
  const QString shift = folder.File(QStringLiteral("shift"));
  folder.Write(QStringLiteral("shift"), "0");

  auto game = std::make_unique<PracticeGame>("190", "1234567890");
  ASSERT_NE(ShowGame(*x11, "190"), 0u);
  QProcess tallymeter;
  tallymeter.setStandardOutputFile(QProcess::nullDevice());
  tallymeter.setStandardErrorFile(QProcess::nullDevice());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TALLYMETER_TEST_WALL_SHIFT"), shift);
  tallymeter.setProcessEnvironment(environment);
  tallymeter.start(program, {});
  ASSERT_TRUE(tallymeter.waitForStarted(10000));
  ASSERT_TRUE(WaitUntil([&] { return folder.Read("debug.txt").contains(" Log Start"); }, 30000));
  ASSERT_NE(ShowGame(*x11, "190"), 0u);  // its window came up in front
  ASSERT_TRUE(WaitUntil([&] { return LogLines(folder.Path()).size() == 1; }, 60000)) << "no first reading";
  const QDateTime firstAt = QDateTime::currentDateTime();

  // An hour back, and experience gained meanwhile.
  folder.Write(QStringLiteral("shift"), "-3600");
  game = std::make_unique<PracticeGame>("190", "1234600000");
  ASSERT_NE(ShowGame(*x11, "190"), 0u);
  ASSERT_TRUE(WaitUntil([&] { return LogLines(folder.Path()).size() == 2; }, 90000)) << "no capture an interval later";
  EXPECT_LE(firstAt.secsTo(QDateTime::currentDateTime()), 75);
  const QString line = LogLines(folder.Path()).last();
  static const QRegularExpression gain(QStringLiteral("^(\\d\\d/\\d\\d \\d\\d:\\d\\d)   190   1,234,600,000       32,110 +(\\d+\\.\\d) "));
  const QRegularExpressionMatch match = gain.match(line);
  ASSERT_TRUE(match.hasMatch()) << line.toStdString();
  const QDateTime dated = QDateTime::fromString(QDateTime::currentDateTime().toString("yyyy/") + match.captured(1),
                                                QStringLiteral("yyyy/MM/dd hh:mm"));
  EXPECT_NEAR(dated.secsTo(QDateTime::currentDateTime()), 3600, 120) << "dated by the wall clock set back";
  EXPECT_NEAR(match.captured(2).toDouble(), 1.0, 0.25) << "a minute on the monotonic clock";

  tallymeter.kill();
  tallymeter.waitForFinished(10000);
}

}  // namespace
