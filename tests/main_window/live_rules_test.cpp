// The live side's pure window rules: the chart's maths, the panel's texts,
// the live area of the layout and where the compact view goes.
#include <gtest/gtest.h>

#include "main_window/chart_scale.h"
#include "main_window/compact_view.h"
#include "main_window/layout_rule.h"
#include "main_window/live_panel.h"
#include "support/qstring_printer.h"

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
  EXPECT_EQ((QStringList{none.shortRate, none.toLevel, none.gained, none.activeTime}), (QStringList{"—", "—", "0", "0分"}));

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
