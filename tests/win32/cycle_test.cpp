// The monitoring cycle on the Win32 backend against the practice game under
// Wine, on a clock the test moves: the game is read behind a window that
// holds the focus beside it or over the game away from the areas, and under
// a click-through overlay; not while that window covers an area; and on
// after the game window is made larger.
#include <gtest/gtest.h>

#include "capture/capture_notices.h"
#include "capture/win32/win32_process.h"
#include "capture/win32/win32_window_system.h"
#include "monitoring/monitoring_cycle.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"
#include "integration/practice_game.h"
#include "support/fakes.h"

namespace {

struct Heard {
  void Listen(MonitoringCycle& cycle) {
    QObject::connect(&cycle, &MonitoringCycle::logAppended, [this](const QString& text, bool) { log += text; });
    QObject::connect(&cycle, &MonitoringCycle::captionChanged, [this](int area, const QString& caption) {
      captions.at(static_cast<std::size_t>(area)) = caption;
    });
  }
  QString log;
  std::array<QString, 2> captions;
};

TEST(Win32Cycle, TheGameIsReadBesideAFocusedWindowNotUnderItAndOnAfterAResize) {
  const std::unique_ptr<WindowSystem> ws = OpenWin32WindowSystem();
  TempFolder folder;
  InstallPatterns(folder.Path());
  FakeClock clock;
  RecordingMessageBoxes boxes;
  DebugTrace trace(folder.Path(), [&clock] { return clock.Now(); });
  Services services{clock, *ws, boxes, trace};
  ProgramState state;
  state.programFolder = folder.Path();
  state.settings = Settings::Defaults(folder.Path());
  state.settings.lag = 0;
  state.settings.captureInterval = 1;
  state.settings.liveSampling = false;
  PatternFiles(QStringLiteral("READ"), state.patternImages, state.patterns, folder.Path(), clock.Now());
  MonitoringCycle cycle(state, services);
  Heard heard;
  heard.Listen(cycle);
  // A minute on, the tick that makes the timed capture: the level it read.
  const auto capture = [&] {
    heard.captions = {};
    clock.AdvanceSeconds(60);
    cycle.Tick();
    return heard.captions[0];
  };

  PracticeGame game("152", "1234567890");
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));
  ASSERT_TRUE(WaitUntil([&] { return Shows(CaptureGameArea(*ws, id, kLevelRegion), CounterSprite(0, "152")); }));
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  QWidget notes;
  const QRect beside(outer.right() + 20, outer.top(), 300, 200);
  const WindowId notesId = ShowTitled(*ws, notes, "Notes", beside);
  ASSERT_NE(notesId, 0u);
  const auto seenAs = [&](AreasSeen seen) {
    return WaitUntil([&] {
      if (ws->ForegroundWindow() != notesId) BringWindowToFront(notesId);
      return ws->ForegroundWindow() == notesId && SeeGameAreas(ws->LookAtEvenBehind(kGame), {kLevelRegion, kExpRegion}) == seen;
    });
  };

  cycle.Run();
  ASSERT_TRUE(seenAs(AreasSeen::Visible));
  EXPECT_EQ(capture(), QStringLiteral("152")) << "beside the game, with the focus";
  notes.setGeometry(QRect(outer.topLeft() + QPoint(100, 100), QSize(300, 200)));
  ASSERT_TRUE(seenAs(AreasSeen::Visible)) << "over the game, away from the areas";
  // A click-through overlay over the whole game hides nothing.
  notes.setGeometry(beside);
  QWidget overlay;
  overlay.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                         Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  overlay.setGeometry(outer);
  overlay.show();
  ASSERT_TRUE(seenAs(AreasSeen::Visible)) << "under a click-through overlay";
  EXPECT_EQ(capture(), QStringLiteral("152")) << "under a click-through overlay";
  overlay.hide();
  const QPoint levelAt = outer.topLeft() + QPoint(kLevelRegion.sx, kLevelRegion.sy);
  notes.setGeometry(QRect(levelAt - QPoint(10, 10), QSize(60, 40)));
  ASSERT_TRUE(seenAs(AreasSeen::Covered));
  EXPECT_EQ(capture(), QString()) << "over the level";
  EXPECT_TRUE(cycle.StateText().startsWith(QStringLiteral("ゲームが他のウィンドウに隠れています")));

  notes.setGeometry(beside.translated(224, 0));
  const QRect larger(outer.topLeft(), outer.size() + QSize(224, 168));
  ASSERT_TRUE(PlaceWindow(id, larger));
  ASSERT_TRUE(WaitUntil([&] { return ws->OuterRect(id) == larger; }));
  const CaptureRegion followed = FollowWindowSize(kLevelRegion, outer.size(), larger.size());
  ASSERT_TRUE(WaitUntil([&] { return Shows(CaptureGameArea(*ws, id, followed), CounterSprite(0, "152")); }));
  EXPECT_EQ(capture(), QStringLiteral("152")) << "resized";
  EXPECT_EQ(heard.log.count(AreasMovedLogText(outer.size(), larger.size())), 1) << heard.log.toStdString();
  EXPECT_TRUE(boxes.shown.empty());
  cycle.End(true);
}

}  // namespace
