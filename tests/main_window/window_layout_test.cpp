#include <QLabel>
#include <QPlainTextEdit>

#include "program_fixture.h"

class WindowLayout : public ProgramTest {
 protected:
  void SetUp() override { Start(); }

  QWidget* Client() { return form().centralWidget(); }
  QPlainTextEdit* Log() { return form().findChild<QPlainTextEdit*>("txtLog"); }
  // Resizes so that the client area below the menu bar is `client`.
  void ResizeClient(QSize client) {
    form().resize(form().size() + (client - Client()->size()));
  }
};

TEST_F(WindowLayout, TheLogFontLinesUpItsColumns) {
  // Every Latin character as wide as any other, a Japanese one exactly twice.
  const QFontMetrics metrics(Log()->font());
  EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("月")), 2 * metrics.horizontalAdvance('W'));
}

TEST_F(WindowLayout, ResizingStretchesTheLogAndTracesEachResize) {
  // The classic frame of an outer 600 x 500 window leaves 592 x 460 inside.
  const int before = CountTrace(" Resaizing Form ･･･End ");
  ResizeClient({592, 460});
  EXPECT_EQ(Log()->geometry(), QRect(8, 80, 576, 364));
  EXPECT_GT(CountTrace(" Resaizing Form ･･･End "), before);
  EXPECT_LE(Log()->geometry().right(), Client()->width() - 8);
  EXPECT_LE(Log()->geometry().bottom(), Client()->height() - 8);

  form().State().debugMode = true;
  ResizeClient({592, 461});
  ResizeClient({592, 460});
  EXPECT_EQ(Log()->geometry(), QRect(8, 80, 576, 284));
  EXPECT_TRUE(Label("picPattern_0")->isVisible());
  EXPECT_EQ(Label("picPattern_9")->y(), 380);
  EXPECT_EQ(Label("picPatternDL_1")->y(), 420);
  EXPECT_LE(Label("picPatternDL_1")->geometry().bottom(), Client()->height());
}

TEST_F(WindowLayout, TheWindowNeverStaysSmallerThanTheMinimum) {
  form().resize(100, 80);
  EXPECT_GE(Client()->width(), 368 - kClassicFrameWidth);
  EXPECT_GE(Client()->height(), 296 - kClassicFrameHeight);
  EXPECT_EQ(Log()->width(), 344);
}

TEST_F(WindowLayout, AMinimisedWindowIsLeftAloneAndWritesNoTrace) {
  ResizeClient({592, 460});
  const QRect log = Log()->geometry();
  form().setWindowState(Qt::WindowMinimized);
  const int before = CountTrace(" Resaizing Form ･･･End ");
  ResizeClient({700, 600});
  EXPECT_EQ(CountTrace(" Resaizing Form ･･･End "), before);
  EXPECT_EQ(Log()->geometry(), log);
}

TEST_F(WindowLayout, SwitchingDebugModeInTheOptionsLaysOutWithoutAResizeLine) {
  ResizeClient({592, 560});
  const int before = CountTrace(" Resaizing Form ･･･End ");
  form().State().debugMode = true;
  form().ApplyDebugModeLayout();
  EXPECT_EQ(Label("picPattern_0")->y(), 480);
  EXPECT_EQ(Label("picPattern_10")->y(), 520);
  EXPECT_EQ(Log()->height(), 560 - 80 - 96);
  EXPECT_TRUE(Label("picPatternDL_0")->isVisible());
  form().State().debugMode = false;
  form().ApplyDebugModeLayout();
  EXPECT_EQ(Log()->height(), 560 - 80 - 16);
  EXPECT_FALSE(Label("picPatternDL_0")->isVisible());
  EXPECT_EQ(CountTrace(" Resaizing Form ･･･End "), before);
}

TEST_F(WindowLayout, DebugModeRecognitionShowsThePreviewAndTracesTheReport) {
  OpenGame("152", "1234567890");
  form().State().debugMode = true;
  form().State().settings.lag = 0;
  form().CaptureStep();
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("152"));
  EXPECT_FALSE(Label("picRecognize_0")->pixmap().isNull());
  EXPECT_FALSE(Label("picRecognize_1")->pixmap().isNull());
  bool reported = false;
  for (const QString& m : TraceMessages()) reported = reported || m.startsWith("X:00");
  EXPECT_TRUE(reported);
}
