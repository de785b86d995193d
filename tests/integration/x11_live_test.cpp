// Live readings against the practice game on a real X server and the real
// clock: the game gains a known amount per second, and after a stretch of
// sampling the panel's rate and time to the next level say what that gain
// implies. The tick handler is called once a second instead of every ten
// seconds, to gather as many readings in a shorter time.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

#include <cmath>

#include "accounting/session_model.h"
#include "base/display_text.h"
#include "capture/timing.h"
#include "monitoring/monitoring_cycle.h"
#include "main_window/startup.h"
#include "persistence/debug_trace.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "x11_practice_game.h"

namespace {

constexpr int kStepMs = 200;
constexpr int kGainPerStep = 1000;  // 5,000 a second: 18,000 k/h
constexpr double kGainPerSecond = kGainPerStep * 1000.0 / kStepMs;
constexpr int kSamplingSeconds = 90;

void InstallPatterns(const TempFolder& folder) {
  for (const QString& subfolder : {QStringLiteral("system"), QStringLiteral("Pattern")}) {
    QDir().mkpath(folder.File(subfolder));
    for (const QString& name : QDir(kBinDir + "/system").entryList(QDir::Files)) {
      QFile::copy(kBinDir + "/system/" + name, folder.File(subfolder + "/" + name));
    }
  }
}

}  // namespace

TEST(X11Live, ThePanelsRateAndTimeToLevelMatchTheGamesKnownGain) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  InstallPatterns(folder);
  SystemClock clock;
  RecordingMessageBoxes boxes;
  DebugTrace trace(folder.Path(), [&clock] { return clock.Now(); });
  Services services{clock, *x11, boxes, trace};
  StartedProgram program = StartProgram(services, folder.Path());
  ASSERT_FALSE(program.ended);
  Form1& form = *program.form;

  GainingGame game(100, 2'000'000, kStepMs, kGainPerStep);
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = x11->FindWindowByTitle(kGame)) != 0; }));
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(id)});
  ASSERT_TRUE(WaitUntil([&] { return x11->ForegroundWindow() == id; }));

  form.menuRun_Click();
  for (int second = 0; second < kSamplingSeconds; ++second) {
    clock.WaitMs(1000);
    form.timCaptureInterval_Timer();
  }
  const SessionFigures f = form.Monitor().Session().Figures(clock.MonotonicMs());
  const auto text = [&](const char* name) { return form.findChild<QLabel*>(QLatin1String(name))->text(); };
  std::printf("after %d s: %s, %s, gained %s, active %s, %d misreads, %zu readings\n", kSamplingSeconds,
              qPrintable(text("lblLiveShortRate")), qPrintable(text("lblLiveToLevel")),
              qPrintable(text("lblLiveGained")), qPrintable(text("lblLiveActive")), f.misreads,
              form.Monitor().Session().Points().size());

  // Every tick but the one of the timed capture made a reading.
  EXPECT_GE(form.Monitor().Session().Points().size(), static_cast<std::size_t>(kSamplingSeconds - 5));
  EXPECT_EQ(f.misreads, 0);
  const double expected = std::floor(kGainPerSecond * 3600 / 1000);
  ASSERT_TRUE(f.shortRate);
  // Within a step's gain at either end of the sampled stretch.
  const double tolerance = expected * 2.0 * kStepMs / (1000.0 * (kSamplingSeconds - 2)) + 1;
  EXPECT_NEAR(*f.shortRate, expected, tolerance);
  EXPECT_NEAR(*f.wholeRate, expected, tolerance);
  EXPECT_EQ(text("lblLiveShortRate"), GroupedNumber(*f.shortRate) + QStringLiteral(" k/h"));

  // Level 100 needs 10,223,168: the rest at 5,000 a second.
  ASSERT_TRUE(f.secondsToLevel);
  const double rest = (10'223'168 - f.exp) / kGainPerSecond;
  EXPECT_NEAR(*f.secondsToLevel, rest, rest * tolerance / expected + 1);
  EXPECT_EQ(text("lblLiveToLevel"), TimeToLevelText(f.secondsToLevel));
  const QString expectedText = TimeToLevelText(rest);
  EXPECT_TRUE(text("lblLiveToLevel") == expectedText || text("lblLiveToLevel") == TimeToLevelText(rest + 60) ||
              text("lblLiveToLevel") == TimeToLevelText(rest - 60))
      << qPrintable(text("lblLiveToLevel")) << " vs " << qPrintable(expectedText);
  form.menuStop_Click();
}
