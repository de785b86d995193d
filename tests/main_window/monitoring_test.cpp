// The main window draws what the monitoring cycle reports: the menus and the
// timer follow Run and Stop, the pictures and captions the capture step, the
// log its lines, the live panel and the state line the live readings, and
// the tray icon the alerts and the last rate. The commands beside the cycle
// (a single recognition, saving captures, the screenshot) draw what they did.
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>

#include "dialogs/form3.h"
#include "main_window/tray_icon.h"
#include "support/qstring_printer.h"
#include "program_fixture.h"

TEST_F(ProgramTest, TheWindowShowsWhatTheCycleReports) {
  Start([](Settings& s) {
    s.autoStart = true;
    s.captureInterval = 1;
    s.showLivePanel = true;
  });
  ASSERT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing});
  auto* run = form().findChild<QAction*>("menuRun");
  auto* stop = form().findChild<QAction*>("menuStop");
  const auto idle = [&] { return run->isEnabled() && run->text() == "開始" && !stop->isEnabled(); };
  EXPECT_TRUE(idle());
  EXPECT_EQ(Label("lblState")->text(), QStringLiteral("停止中"));

  // Level 190 needs 1,312,399,850: a counter the misread guard believes.
  OpenGame("190", "1234567890");
  Run();
  EXPECT_TRUE(!run->isEnabled() && run->text() == "ロギング" && stop->isEnabled());
  EXPECT_EQ(Label("lblState")->text(), QStringLiteral("監視中  次のキャプチャまで 00:15"));
  EXPECT_EQ(form().Tray()->State(), TrayState::Monitoring);
  RunFor(20);
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("190"));
  EXPECT_EQ(Label("lblCapture_1")->text(), QStringLiteral("1234567890"));
  EXPECT_FALSE(Label("picCapture_0")->pixmap().isNull());
  EXPECT_EQ(Label("lblLiveMisreads")->text(), QStringLiteral("0"));

  OpenGame("190", "1234600000");
  RunFor(60);
  EXPECT_EQ(Label("lblLiveGained")->text(), QStringLiteral("32,110"));
  EXPECT_EQ(form().Tray()->ToolTip(), QStringLiteral("Tallymeter 監視中 時給 1,926 k/h"));
  RunFor(5 * 60);
  EXPECT_EQ(form().Tray()->State(), TrayState::Alert) << "no gain for five minutes";
  EXPECT_EQ(Label("lblLiveActivity")->text(), QStringLiteral("休止中 (14:30から)"));
  EXPECT_TRUE(form().LogText().contains(QStringLiteral("  警告  経験値が5分間増えていません")));

  form().menuStop_Click();
  EXPECT_TRUE(idle());
  EXPECT_EQ(form().Tray()->State(), TrayState::Stopped);
  EXPECT_EQ(Label("lblState")->text(), QStringLiteral("停止中"));
  const QString shown = Log()->toPlainText();
  EXPECT_EQ(shown.toStdString(), QString(form().LogText()).replace("\r\n", "\n").toStdString());
  EXPECT_TRUE(shown.contains(QStringLiteral("\nセッション ")));
}

TEST_F(ProgramTest, SavingCapturesAndTheScreenshotWriteWhatWasTakenUnderItsTime) {
  Start([](Settings& settings) { settings.captureRegions[1].ex = 0; });  // area 1 captures nothing
  const auto saved = [&] { return QDir(folder_.File("Pattern")).entryList({"Capture*"}, QDir::Files); };
  form().menuPatternSave_Click();
  EXPECT_TRUE(saved().isEmpty()) << "nothing captured yet";
  OpenGame("152", "1234567890");
  form().CaptureStep();
  form().menuPatternSave_Click();
  EXPECT_EQ(saved(), QStringList{"Capture0_1205143000.bmp"});

  // The screenshot is of the window in front once the ten-second wait is over.
  const WindowId other = windows_.Add("Other", QRect(40, 30, 300, 200));
  form().menuPrtScr_Click();
  windows_.foreground = other;
  clock_.AdvanceSeconds(10);
  EXPECT_EQ(QImage(folder_.File("PrtScr_20261205143010.bmp")).size(), QSize(300, 200));
}

TEST_F(ProgramTest, SingleRecognitionTwiceReadsTheSameAndShowsThreeDecimals) {
  Start();
  OpenGame("152", "1234567890");
  form().CaptureStep();
  for (int i = 0; i < 2; ++i) {
    form().cmdRecognize_Click();
    EXPECT_EQ(form().Monitor().RecognizedLevel(), 152);
    EXPECT_EQ(form().Monitor().RecognizedExp(), 1234567890.0);
    EXPECT_EQ(Label("lblElapse")->text(), QStringLiteral("0.000秒"));
  }
}

TEST_F(ProgramTest, AFailedReadingIsOneClickFromTheTeacherOnTheCaptureItFailedOn) {
  Start();
  OpenGame("190", "");  // the experience area shows no digit
  Run();
  RunFor(20);
  QLabel* state = Label("lblState");
  EXPECT_TRUE(state->text().endsWith(QStringLiteral("認識NG（経験値: 数字が読めません）"))) << state->text().toStdString();
  ASSERT_EQ(state->cursor().shape(), Qt::PointingHandCursor);

  // The click opens the editor on the experience area with the teacher over
  // it; each is closed as it comes to the front.
  QStringList opened;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible()) return;
    opened << modal->metaObject()->className();
    if (auto* editor = qobject_cast<Form3*>(modal)) opened << QString::number(editor->Area());
    modal->reject();
  });
  closer.start(10);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), state->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(state, &release);
  EXPECT_EQ(opened, (QStringList{"CaptureTeacher", "Form3", "1"}));

  OpenGame("190", "1234567890");
  RunFor(60);
  EXPECT_EQ(state->cursor().shape(), Qt::ArrowCursor) << "read again: nothing to teach";
}
