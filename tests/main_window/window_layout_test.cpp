#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

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

TEST_F(WindowLayout, ControlsStandAtTheirDesignPlacesWithTheirTexts) {
  EXPECT_EQ(Client()->size(), QSize(520, 432));
  EXPECT_EQ(Label("lblCapture_t_0")->text(), QStringLiteral("キャプチャ1→"));
  EXPECT_EQ(Label("lblCapture_t_1")->text(), QStringLiteral("キャプチャ2→"));
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("000"));
  EXPECT_EQ(Label("lblCapture_1")->pos(), QPoint(264, 8));
  EXPECT_EQ(Label("lblElapse")->text(), QStringLiteral("0.000秒"));
  EXPECT_EQ(Label("picCapture_1")->geometry(), QRect(184, 24, 145, 29));
  EXPECT_EQ(Label("picRecognize_1")->geometry(), QRect(400, 24, 33, 33));
  EXPECT_EQ(form().findChild<QPushButton*>("cmdRecognize")->text(), QStringLiteral("認 識"));
  EXPECT_EQ(form().findChild<QPushButton*>("cmdCapture")->geometry(), QRect(440, 0, 73, 33));
  EXPECT_TRUE(Log()->isReadOnly());
  // Columns line up: every Latin character is as wide as any other, and a
  // Japanese one exactly twice as wide.
  const QFontMetrics metrics(Log()->font());
  EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("月")), 2 * metrics.horizontalAdvance('W'));
  EXPECT_EQ(Label("picPattern_13")->pos(), QPoint(32 + 40 * 3, Label("picPatternDL_1")->y()));
  EXPECT_FALSE(Label("picPattern_0")->isVisible());
}

TEST_F(WindowLayout, TheMenuBarHoldsFileToolsRunAndStopInThatOrder) {
  QStringList bar;
  for (QAction* a : form().menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{"ファイル", "ツール", "開始", "停止"}));
  QStringList file;
  for (QAction* a : form().findChild<QMenu*>("menuFile")->actions()) file << a->text();
  EXPECT_EQ(file, (QStringList{"パターン保存", "終了"}));
  QStringList tools;
  for (QAction* a : form().findChild<QMenu*>("menuTool")->actions()) tools << a->objectName();
  EXPECT_EQ(tools, (QStringList{"menuOption", "menuPattern_0", "menuPattern_1", "menuPrtScr"}));
  EXPECT_EQ(Action("menuPattern_1")->text(), QStringLiteral("基準画像登録2..."));
  EXPECT_EQ(Action("menuOption")->text(), QStringLiteral("オプション..."));
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
