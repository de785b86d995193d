// The main window's rules that need no program: the chart's maths, the
// live texts and layout, where the compact view and our windows go, the tray
// icon and the log's font.
#include <QFontDatabase>
#include <QMenu>
#include <gtest/gtest.h>

#include <set>

#include "main_window/chart_scale.h"
#include "main_window/compact_view.h"
#include "main_window/layout_rule.h"
#include "main_window/live_panel.h"
#include "main_window/log_font.h"
#include "main_window/tray_icon.h"
#include "dialogs/window_placement.h"
#include "support/qstring_printer.h"

namespace {

TEST(ChartScale, AxesAreReadableAndPointsStayInsideThePlot) {
  const std::pair<double, double> ceilings[] = {{0, 1},      {-5, 1},    {0.3, 0.5}, {1, 1},     {1.01, 2},
                                                {2000, 2000}, {2001, 5000}, {7e9, 1e10}, {360, 500}};
  for (const auto& [value, nice] : ceilings) EXPECT_DOUBLE_EQ(NiceCeiling(value), nice) << value;

  const std::vector<SessionPoint> points{
      {0, 0, std::nullopt}, {60'000, 1000, 36}, {120'000, 2000, 360}, {180'000, 2000, std::nullopt},
      {1'500'000, 9000, 400}};
  const ChartAxes axes = ChooseAxes(points);
  EXPECT_DOUBLE_EQ(axes.minutesMax, 50);  // 25 minutes
  EXPECT_DOUBLE_EQ(axes.gainedMax, 10000);
  EXPECT_DOUBLE_EQ(axes.rateMax, 500);
  EXPECT_DOUBLE_EQ(ChooseAxes({}).minutesMax, 10) << "a fresh session still has a time axis";

  const QRectF plot(10, 20, 100, 50);
  EXPECT_EQ(PlotPosition(plot, 0, 10, 0, 5), QPointF(10, 70)) << "origin at the bottom left";
  EXPECT_EQ(PlotPosition(plot, 10, 10, 5, 5), QPointF(110, 20));
  EXPECT_EQ(PlotPosition(plot, 20, 10, -3, 5), QPointF(110, 70)) << "held at the edges";
  EXPECT_EQ(PlotPosition(plot, 5, 0, 5, 0), QPointF(10, 70)) << "no range, no division by zero";

  const QPolygonF gained = GainedLine(points, plot, axes);
  ASSERT_EQ(gained.size(), 5);
  EXPECT_EQ(gained[2], QPointF(10 + 100 * 2.0 / 50, 70 - 50 * 0.2));
  const std::vector<QPolygonF> rate = RateLines(points, plot, axes);
  ASSERT_EQ(rate.size(), 2u) << "broken where the rate was unknown";
  EXPECT_EQ(rate[0].size(), 2);
  EXPECT_EQ(rate[1].size(), 1);
  EXPECT_EQ(rate[1][0], QPointF(10 + 100 * 25.0 / 50, 70 - 50 * 0.8));

  EXPECT_EQ(AxisMinutesText(120), QStringLiteral("2時間"));
  EXPECT_EQ(AxisMinutesText(200), QStringLiteral("3時間20分"));
}

TEST(LiveTexts, ShowWhatIsKnownAndSayWhatIsNot) {
  const LiveTexts none = MakeLiveTexts(SessionFigures{});
  EXPECT_EQ((QStringList{none.shortRate, none.toLevel, none.gained, none.activeTime}),
            (QStringList{"—", "—", "0", "0分"}));

  SessionFigures f;
  f.hasReading = true;
  f.level = 152;
  f.shortRate = 1234567;
  f.longRate = 0;
  f.progressPercent = 45.6;
  f.secondsToLevel = 4320;
  const LiveTexts t = MakeLiveTexts(f);
  EXPECT_EQ((QStringList{t.shortRate, t.longRate, t.wholeRate, t.toLevel}),
            (QStringList{"1,234,567 k/h", "0 k/h", "—", "あと 1時間12分"}));

  f.level = 201;
  f.levelSizeUnknown = true;
  f.progressPercent.reset();
  f.secondsToLevel.reset();
  f.running = true;
  EXPECT_EQ(MakeLiveTexts(f).activity, QStringLiteral("計測中"));
  // Idle: the rates keep their last values.
  f.idleSince = QDateTime(QDate(2026, 12, 5), QTime(14, 32, 40));
  EXPECT_EQ(MakeLiveTexts(f).activity, QStringLiteral("休止中 (14:32から)"));
  f.running = false;
  const LiveTexts top = MakeLiveTexts(f);
  EXPECT_EQ((QStringList{top.activity, top.toLevel, top.progress, top.shortRate}),
            (QStringList{"停止中", "不明 (表にLv201なし)", "不明 (Lv201)", "1,234,567 k/h"}));
}

TEST(LayoutRule, PlacesTheLogAndPatternRowsAndSnapsOnlyTheSideBelowTheMinimum) {
  struct Case {
    bool resize;  // the resize rule, or the options dialog's
    double width, height;
    bool debug;
    int logWidth, logHeight, firstRow;
    std::optional<int> snapWidth, snapHeight;
  };
  const Case cases[] = {
      {true, 600, 500, false, 576, 364, 380, {}, {}},
      {true, 600, 500, true, 576, 284, 380, {}, {}},
      {true, 200, 100, true, 344, 80, 176, 368, 296},
      {true, 367, 500, false, 344, 364, 380, 368, {}},
      {true, 368, 296, false, 344, 160, 176, {}, {}},
      // Halves round to even: 297.5 − 40 → 258.
      {true, 600, 297.5, false, 576, 162, 178, {}, {}},
      // The options dialog's variant: the rows move, and it has no minimum
      // but never gives a negative size.
      {false, 600, 600, true, 576, 384, 480, {}, {}},
      {false, 600, 600, false, 576, 464, 480, {}, {}},
      {false, 10, 150, true, 0, 0, 30, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.debug ? " debug" : ""));
    const MainLayout layout = (c.resize ? ResizeLayout : DebugSwitchLayout)(c.width, c.height, c.debug);
    EXPECT_EQ(std::tuple(layout.logWidth, layout.logHeight, layout.patternsVisible, layout.patternRowTop,
                         layout.snapOuterWidth, layout.snapOuterHeight),
              std::tuple(c.logWidth, c.logHeight, c.debug, std::array{c.firstRow, c.firstRow + 40}, c.snapWidth,
                         c.snapHeight));
  }
}

TEST(LiveLayout, ThePanelAndChartTakeTheTopOfTheLogsRoomAndNothingOverlaps) {
  struct Case {
    double width, height;
    bool debug;
    int chartHeight, logTop, logHeight;
  };
  const Case cases[] = {
      {368, 296, false, 0, 166, 74},     // the minimum: no room for the chart
      // The minimum in debug mode: the rows stay clear, the log has no room
      // left (the window's own minimum grows by the live area).
      {368, 296, true, 0, 166, 0},
      {528, 472, false, 83, 253, 163},   // the design size
      {600, 900, false, 160, 330, 514},  // tall: the chart stops growing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.debug ? " debug" : ""));
    const MainLayout classic = ResizeLayout(c.width, c.height, c.debug);
    const MainLayout live = WithLiveArea(classic);
    ASSERT_TRUE(live.live.has_value());
    EXPECT_EQ(live.live->chartHeight, c.chartHeight);
    EXPECT_EQ(live.logTop, c.logTop);
    EXPECT_EQ(live.logHeight, c.logHeight);
    // Same width and bottom edge as the classic log; the label just above it.
    EXPECT_EQ(live.logWidth, classic.logWidth);
    if (live.logHeight > 0) {
      EXPECT_EQ(live.logTop + live.logHeight, classic.logTop + classic.logHeight);
    }
    EXPECT_EQ(live.logLabelTop, live.logTop - 16);
    // Top to bottom: buttons (to 65), panel, chart, label, log, pattern rows.
    EXPECT_GE(live.live->panelTop, 65);
    const int chartBottom = live.live->chartTop + live.live->chartHeight;
    EXPECT_GE(live.live->chartTop, live.live->panelTop + live.live->panelHeight);
    EXPECT_GE(live.logLabelTop, c.chartHeight > 0 ? chartBottom : live.live->chartTop);
    if (c.debug) {
      EXPECT_LE(live.logTop + live.logHeight, live.patternRowTop[0]);
    }
  }
}

TEST(CompactViewPlace, TheRememberedPlaceIsKeptWhileItIsOnAScreen) {
  const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
  const QSize size(200, 84);
  EXPECT_EQ(CompactViewPosition({300, 200}, size, screens), QPoint(300, 200));
  EXPECT_EQ(CompactViewPosition({2500, 900}, size, screens), QPoint(2500, 900)) << "on the second screen";
  EXPECT_EQ(CompactViewPosition({-190, 10}, size, screens), QPoint(1064, 16)) << "only its edge on a screen";
  EXPECT_EQ(CompactViewPosition({5000, 5000}, size, screens), QPoint(1064, 16)) << "a screen since unplugged";
  EXPECT_EQ(CompactViewPosition({5, 5}, size, {}), QPoint(0, 0));
}

TEST(TrayIcon, EachStateHasItsColourAndMenuAndTheToolTipTellsTheRate) {
  const auto centreLeft = [](TrayState state) { return TrayPicture(state, 32).pixel(8, 16); };
  const std::set<QRgb> colours{centreLeft(TrayState::Stopped), centreLeft(TrayState::Monitoring),
                               centreLeft(TrayState::Alert)};
  EXPECT_EQ(colours.size(), 3u);
  EXPECT_EQ(QColor::fromRgba(TrayPicture(TrayState::Alert, 32).pixel(0, 0)).alpha(), 0) << "round, not square";

  EXPECT_EQ(TrayToolTip(TrayState::Stopped, std::nullopt), QStringLiteral("Tallymeter 停止中"));
  EXPECT_EQ(TrayToolTip(TrayState::Alert, -1), QStringLiteral("Tallymeter 警告あり 時給 -1 k/h"));

  // Its menu runs, stops and shows as the state allows.
  int runs = 0, stops = 0, toggles = 0;
  TrayIcon tray({[&] { ++runs; }, [&] { ++stops; }, [&] { ++toggles; }});
  const QList<QAction*> actions = tray.Menu()->actions();
  ASSERT_EQ(actions.size(), 4);  // Run, Stop, a separator, the window
  const auto offered = [&] { return std::pair(actions[0]->isEnabled(), actions[1]->isEnabled()); };
  EXPECT_EQ(offered(), std::pair(true, false));
  tray.SetState(TrayState::Alert);
  EXPECT_EQ(offered(), std::pair(false, true));
  for (QAction* action : actions) action->trigger();
  EXPECT_EQ(std::tuple(runs, stops, toggles), std::tuple(0, 1, 1)) << "Run is not offered while monitoring";
  tray.SetState(TrayState::Stopped);
  actions[0]->trigger();
  EXPECT_EQ(runs, 1);
  tray.SetLastRate(96);
  EXPECT_EQ(tray.ToolTip(), QStringLiteral("Tallymeter 停止中 時給 96 k/h"));
}

// The log panel lines up the log's columns with the fonts this platform has
// (IPAGothic from scripts/setup on Linux).
TEST(LogFont, TheFirstListedFamilyInstalledIsTakenAndItLinesUpTheColumnsWhereAProportionalOneWouldNot) {
  const QStringList installed{"DejaVu Sans", "ipagothic", "Noto Sans Mono CJK JP"};
  EXPECT_EQ(ChooseLogFontFamily({"MS Gothic", "IPAGothic", "Noto Sans Mono CJK JP"}, installed), "ipagothic");
  EXPECT_EQ(ChooseLogFontFamily({"MS Gothic"}, installed), "");

  ASSERT_TRUE(QFontDatabase::families().contains("IPAGothic")) << "fonts-ipafont-gothic is missing (run scripts/setup)";
  const QFont font = LogFont();
  EXPECT_EQ(font.family(), "IPAGothic");
  EXPECT_TRUE(AlignsLogColumns(font));
  // The proportional sibling: the check is what tells them apart.
  QFont proportional("IPAPGothic");
  proportional.setPointSize(9);
  EXPECT_FALSE(AlignsLogColumns(proportional));
}

// Our windows keep off the game's capture areas and buttons, on a screen.
// A 1024 x 768 game at (100, 50), its areas near its bottom.
const QRect kGame(100, 50, 1024, 768);
const std::array<CaptureRegion, 2> kRegions{CaptureRegion{40, 740, 60, 14}, CaptureRegion{560, 740, 150, 14}};
const QList<QRect> kOne{QRect(0, 0, 1920, 1040)};
const QList<QRect> kTwo{QRect(0, 0, 1920, 1040), QRect(1920, 200, 1280, 984)};

bool Clear(const QRect& r, const std::vector<QRect>& avoid) {
  return std::none_of(avoid.begin(), avoid.end(), [&](const QRect& a) { return a.intersects(r); });
}
bool OnAScreen(const QRect& r, const QList<QRect>& screens) {
  return std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(r); });
}

TEST(WindowPlacement, AWindowMovesOffTheAreasAndButtonsOntoAScreen) {
  const std::vector<QRect> spots = GameSpotsToKeepClear(kGame, kRegions);
  const QSize size(200, 100);
  const struct {
    const char* what;
    QPoint wanted;
    QList<QRect> screens;
  } cases[] = {
      {"already clear", {400, 300}, kOne},
      {"over the experience area", {700, 760}, kOne},
      {"over the level area at the screen's bottom", {120, 760}, kOne},
      {"over the close button", {1000, 40}, kOne},
      {"within the area's margin", {660, 701}, kOne},
      {"off every screen", {5000, 5000}, kTwo},
      {"in the gap beside the shorter screen", {2000, 50}, kTwo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect placed(PlaceAvoiding(QRect(c.wanted, size), spots, c.screens), size);
    EXPECT_TRUE(Clear(placed, spots) && OnAScreen(placed, c.screens)) << placed.x() << "," << placed.y();
  }
  EXPECT_EQ(PlaceAvoiding(QRect({700, 760}, size), spots, kOne), QPoint(700, 824)) << "the nearest: just below";
  // Nowhere clear: on the screen at least.
  const QRect tiny(0, 0, 300, 120);
  EXPECT_TRUE(tiny.contains(QRect(PlaceAvoiding(QRect(250, 100, 200, 100), {tiny}, {tiny}), size)));
}

// Every window and box opens beside the window it belongs to, wholly on its
// screen, off the game's areas: the guide that opened at x=1826 of a 1920
// screen, the history past the right edge, boxes over the game's middle.
TEST(WindowPlacement, AWindowOpensBesideItsOwnerOnItsScreenOffTheGame) {
  const std::vector<QRect> spots = GameSpotsToKeepClear(kGame, kRegions);
  const QRect screen = kOne.first();
  const QRect rightOfGame(1140, 50, 540, 520);
  const struct {
    const char* what;
    QSize size;
    QRect owner;
    QRect screen;
    QPoint expected;  // (-1, -1): anywhere clear
  } cases[] = {
      {"room on the right", {300, 200}, {100, 100, 540, 520}, screen, {648, 100}},
      {"the guide at the right edge goes left", {560, 500}, {1300, 100, 540, 520}, screen, {732, 100}},
      {"the history window, no room either side of the game's neighbour", {860, 620}, rightOfGame, screen, {-1, -1}},
      {"a box: below the main window, the game's buttons left of it", {300, 120}, rightOfGame, screen, {1140, 578}},
      {"larger than the screen", {2500, 1200}, {100, 100, 540, 520}, screen, {0, 0}},
      {"on the owner's second screen", {300, 200}, {2000, 300, 540, 520}, kTwo[1], {2548, 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QPoint at = PlaceBeside(c.size, c.owner, spots, c.screen);
    const QRect placed(at, c.size.boundedTo(c.screen.size()));
    EXPECT_TRUE(c.screen.contains(placed)) << at.x() << "," << at.y();
    EXPECT_TRUE(c.expected == QPoint(-1, -1) || at == c.expected) << at.x() << "," << at.y();
    EXPECT_TRUE(c.size.width() >= 1000 || Clear(placed, spots)) << at.x() << "," << at.y();
  }
}

TEST(WindowPlacement, TheMainWindowComesBackWhereItWasLeftOnAScreenOrFirstBesideTheGame) {
  const struct {
    const char* what;
    QRect remembered;
    std::optional<QRect> game;
    QList<QRect> screens;
    QRect expected;  // empty: only off the areas
  } cases[] = {
      // Where it was left, and first beside the game: on a real screen beside the practice game.
      {"half off the right edge", {1700, 100, 600, 500}, {}, kOne, {1320, 100, 600, 500}},
      {"larger than the screen", {-50, -50, 4000, 3000}, {}, kOne, {0, 0, 1920, 1040}},
      {"on a screen since unplugged", {2200, 300, 600, 500}, {}, kOne, {1320, 300, 600, 500}},
      {"on the second screen", {2200, 300, 600, 500}, {}, kTwo, {2200, 300, 600, 500}},
      {"first start, no game", {}, {}, kOne, {690, 260, 540, 520}},
      {"first start, a game as large as the screen", {}, QRect(0, 0, 1920, 1040), kOne, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect placed = MainWindowPlace(c.remembered, {540, 520}, c.game, kRegions, c.screens);
    EXPECT_TRUE(OnAScreen(placed, c.screens));
    EXPECT_TRUE(c.expected.isEmpty() || placed == c.expected);
    EXPECT_TRUE(!c.game || !c.remembered.isEmpty() || Clear(placed, GameSpotsToKeepClear(*c.game, kRegions)));
  }
}

}  // namespace
