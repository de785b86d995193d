// Today's game at level 250 on a real X server and the real clock: the
// practice game gains a known amount per second with a counter of twelve
// digits. The timed capture logs a gain line with the rate that gain
// implies (hundreds of millions of k/h), and the live panel shows the rate
// and, with the delivered experience table, the time to the next level.
// The program runs on its own timers, in real time. A minute of play is no
// ten minutes: the panel's rates are provisional. The game then closes and
// starts again within the wait: the measurement goes on in the same file,
// and the next gain's minutes leave the time without the game out.
#include <gtest/gtest.h>

#include <optional>

#include "accounting/exp_table_file.h"
#include "accounting/session_model.h"
#include "base/display_text.h"
#include "monitoring/monitoring_cycle.h"
#include "in_process_program.h"

namespace {

constexpr int kStepMs = 200;
constexpr std::int64_t kGainPerStep = 20'000'000;  // 100,000,000 a second: 360,000,000 k/h
constexpr double kGainPerSecond = kGainPerStep * 1000.0 / kStepMs;
constexpr double kRate = kGainPerSecond * 3600 / 1000;
constexpr std::int64_t kStartExp = 100'000'000'000;

double Number(const QString& grouped) { return QString(grouped).remove(u',').toDouble(); }

using X11Level250 = InProcessTest<SystemClock>;

TEST_F(X11Level250, AGainLineWithTheRightRateAndThePanelsTimeToLevel) {
  ASSERT_TRUE(QFile::exists(folder.File("system/") + kExpTableFileName));
  ASSERT_TRUE(Start());
  SystemClock& clock = program->clock;
  form().State().settings.captureInterval = 1;

  const QStringList gaining{"--step-ms", QString::number(kStepMs), "--gain", QString::number(kGainPerStep)};
  std::optional<PracticeGame> game(std::in_place, "250", QString::number(kStartExp), gaining);
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));
  ASSERT_TRUE(Activate(id) && WaitUntil([&] { return ws->ForegroundWindow() == id; }));

  // The first timed capture comes about 15 seconds after Run, the next a
  // minute later. 開始 is chosen with the pointer, and the game brought back
  // to the front.
  ASSERT_TRUE(ChooseFromMenuBar(form(), "menuRun"));
  ASSERT_TRUE(WaitUntil([&] { return form().IsMonitoring(); }));
  ASSERT_TRUE(Activate(id) && WaitUntil([&] { return ws->ForegroundWindow() == id; }));
  // A gain line has seven fields and begins with the date (the header has
  // seven too).
  QStringList line;
  const auto gainLine = [&] { return line.size() == 7 && line[0].contains(u'/'); };
  const auto waitForGainLine = [&](int gainLines) {
    WaitUntil(
        [&] {
          const QStringList lines = LogLines(folder.Path());
          line = lines.size() < gainLines + 1 ? QStringList() : lines[gainLines].split(u' ', Qt::SkipEmptyParts);
          return gainLine();
        },
        100'000);
  };
  waitForGainLine(1);
  // Date, time, Lv, Exp, 獲得Exp, 経過(分), 時給(k/h).
  ASSERT_TRUE(gainLine()) << qPrintable(line.join(u' '));
  EXPECT_EQ(line[2], QStringLiteral("250"));
  const double gained = Number(line[4]);
  const double minutes = line[5].toDouble();
  EXPECT_GE(Number(line[3]), kStartExp + gained);
  EXPECT_NEAR(gained, kGainPerSecond * minutes * 60, kGainPerSecond * 7) << "a minute's gain, give or take seconds";
  // Over a minute of whole seconds the rate is off by at most a second's
  // worth and a step at either end.
  EXPECT_NEAR(Number(line[6]), kRate, kRate * (1.0 + 0.4) / 55);

  const SessionFigures f = form().Monitor().Session().Figures(clock.MonotonicMs());
  const auto text = [&](const char* name) { return form().findChild<QLabel*>(QLatin1String(name))->text(); };
  EXPECT_EQ(f.misreads, 0);
  // Every tick but the ones of the timed captures made a reading: at 10 s
  // and from 30 to 70 s at least.
  EXPECT_GE(form().Monitor().Session().Points().size(), 6u);
  ASSERT_TRUE(f.shortRate && f.wholeRate);
  EXPECT_NEAR(*f.shortRate, kRate, kRate * 0.03);
  EXPECT_NEAR(*f.wholeRate, kRate, kRate * 0.03);
  EXPECT_EQ(text("lblLiveShortRate"), GroupedNumber(*f.shortRate) + QStringLiteral(" k/h (暫定)"));
  // Level 250 needs 442,457,484,960 by the delivered table.
  ASSERT_TRUE(f.secondsToLevel);
  const double rest = (442'457'484'960 - f.exp) / kGainPerSecond;
  EXPECT_NEAR(*f.secondsToLevel, rest, rest * 0.03 + 1);
  EXPECT_EQ(text("lblLiveToLevel"), TimeToLevelText(f.secondsToLevel) + QStringLiteral(" (暫定)"));

  // Closed for about 20 seconds, and back further on, as if it had run on.
  const double before = Number(line[3]);
  game.reset();
  WaitUntil([] { return false; }, 20'000);
  EXPECT_TRUE(form().Monitor().WaitingForGame());
  game.emplace("250", QString::number(static_cast<std::int64_t>(before + 40 * kGainPerSecond)), gaining);
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));
  ASSERT_TRUE(Activate(id) && WaitUntil([&] { return ws->ForegroundWindow() == id; }));
  waitForGainLine(2);
  ASSERT_TRUE(gainLine()) << "in the one log file";
  EXPECT_LT(line[5].toDouble(), 0.9) << "a minute between the captures, 20 seconds of it without the game";
  EXPECT_TRUE(program->boxes.shown.empty());
  ASSERT_TRUE(ChooseFromMenuBar(form(), "menuStop"));
  EXPECT_TRUE(WaitUntil([&] { return !form().IsMonitoring(); }));
}

}  // namespace
