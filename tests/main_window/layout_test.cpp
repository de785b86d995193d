#include "main_window/layout_rule.h"
#include "program_fixture.h"

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

TEST_F(ProgramTest, TheMainWindowIsLaidOutByTheRuleAndTracesEveryResizeUnlessMinimised) {
  Start([](Settings& settings) { settings.showLivePanel = false; });
  QWidget* client = form().centralWidget();
  auto* log = Log();
  // The classic frame of an outer 600 x 500 window leaves 592 x 460 inside.
  const auto resizeClient = [&](QSize size) { form().resize(form().size() + (size - client->size())); };
  const auto resizeLines = [&] { return TraceMessages().count(QStringLiteral(" Resaizing Form ･･･End ")); };
  int lines = resizeLines();
  resizeClient({592, 460});
  EXPECT_EQ(log->geometry(), QRect(8, 80, 576, 364));
  EXPECT_GT(resizeLines(), lines);

  // Switching debug mode in the options lays out for the outer size, without a resize line.
  resizeClient({592, 560});
  lines = resizeLines();
  form().State().debugMode = true;
  form().ApplyDebugModeLayout();
  EXPECT_EQ(Label("picPattern_0")->y(), 480);
  EXPECT_EQ(Label("picPattern_10")->y(), 520);
  EXPECT_EQ(log->height(), 384);
  EXPECT_EQ(resizeLines(), lines);

  resizeClient({592, 460});
  EXPECT_EQ(log->geometry(), QRect(8, 80, 576, 284));
  EXPECT_EQ(Label("picPatternDL_1")->y(), 420);

  const QRect placed = log->geometry();
  lines = resizeLines();
  form().setWindowState(Qt::WindowMinimized);
  resizeClient({700, 600});
  EXPECT_EQ(resizeLines(), lines);
  EXPECT_EQ(log->geometry(), placed);
  // Restoring lays out for the size the window has now, and says so.
  form().setWindowState(Qt::WindowNoState);
  EXPECT_EQ(resizeLines(), lines + 1);
  EXPECT_EQ(log->geometry(), QRect(8, 80, client->width() - 16, client->height() - 80 - 80 - 16));
}
