#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "program_fixture.h"

class Commands : public ProgramTest {
 protected:
  void SetUp() override {
    settings_ = DefaultSettings();
    settings_.lag = 0;
  }
  Form1& StartWith(const Settings& settings) {
    UseSettings(settings);
    return Start();
  }
  QStringList Files(const QString& folder, const QString& pattern) const {
    return QDir(folder_.File(folder)).entryList({pattern}, QDir::Files);
  }
  Settings settings_;
};

TEST_F(Commands, SaveCapturesStopsAtTheFirstEmptyPictureWithoutATrace) {
  settings_.captureRegions[1].ex = 0;  // an area of no size captures nothing
  StartWith(settings_);
  const QStringList atStart = TraceMessages();
  form().menuPatternSave_Click();
  EXPECT_TRUE(Files("Pattern", "Capture*").isEmpty()) << "nothing captured yet";
  EXPECT_EQ(TraceMessages(), atStart);
  OpenGame("152", "1234567890");
  form().CaptureStep();
  ASSERT_FALSE(form().Capture(0).isNull());
  ASSERT_TRUE(form().Capture(1).isNull());
  const QStringList before = TraceMessages();
  form().menuPatternSave_Click();
  EXPECT_EQ(Files("Pattern", "Capture*"), QStringList{"Capture0_1205143000.bmp"});
  EXPECT_EQ(TraceMessages(), before);
}

TEST_F(Commands, SingleCaptureWaitsTenSecondsThenRunsACaptureStep) {
  StartWith(settings_);
  OpenGame("152", "1234567890");
  form().cmdCapture_Click();
  ASSERT_FALSE(clock_.waits.empty());
  EXPECT_EQ(clock_.waits.front(), 10000);
  EXPECT_EQ(form().RecognizedLevel(), 152);
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" SingleCapture･･･End "));
  // A first reading by hand begins a log file too.
  EXPECT_FALSE(form().LogWriter().LogStamp().isEmpty());
  EXPECT_EQ(form().NextCaptureTime(), QDateTime(QDate(2026, 12, 5), QTime(14, 50, 10)));
}

TEST_F(Commands, SingleRecognitionTwiceReadsTheSameAndShowsThreeDecimals) {
  StartWith(settings_);
  OpenGame("152", "1234567890");
  form().CaptureStep();
  form().cmdRecognize_Click();
  const auto level = form().RecognizedLevel();
  const auto exp = form().RecognizedExp();
  form().cmdRecognize_Click();
  EXPECT_EQ(form().RecognizedLevel(), level);
  EXPECT_EQ(form().RecognizedExp(), exp);
  EXPECT_EQ(level, 152);
  EXPECT_EQ(Label("lblElapse")->text(), QStringLiteral("0.000秒"));
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" SingleRecognize(0.000秒)･･･End "));
}

TEST_F(Commands, TheScreenshotIsOfTheWindowInFrontWhenTheWaitIsOver) {
  StartWith(settings_);
  const WindowId other = windows_.Add("Other", QRect(40, 30, 300, 200));
  clock_.onWait = [&] {
    // The user brings another window to the front during the ten seconds.
    if (clock_.waits.back() == 10000) windows_.foreground = other;
  };
  form().menuPrtScr_Click();
  const QStringList shots = Files(".", "PrtScr_*.bmp");
  ASSERT_EQ(shots, QStringList{"PrtScr_20261205143010.bmp"});
  EXPECT_EQ(QImage(folder_.File(shots[0])).size(), QSize(300, 200));
  ASSERT_FALSE(windows_.grabs.empty());
  EXPECT_EQ(windows_.grabs.back().topLeft(), QPoint(40, 30));
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Print Screen･･･End "));
  EXPECT_TRUE(form().isVisible());
}

TEST_F(Commands, AScreenshotThatCannotBeMadeOrWrittenIsReportedAndTheProgramCarriesOn) {
  settings_.beepBeep = true;
  StartWith(settings_);
  windows_.foreground = windows_.Add("Other", QRect(40, 30, 300, 200));
  // A folder where the file should go makes the write fail.
  QDir().mkpath(folder_.File("PrtScr_20261205143010.bmp"));
  form().menuPrtScr_Click();
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_TRUE(boxes_.shown[0].text.contains(QStringLiteral("PrtScr_20261205143010.bmp")));
  EXPECT_EQ(windows_.beeps, 1);
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Print Screen･･･End "));

  // No window in front at all: nothing to save, and the user is told.
  windows_.foreground = 0;
  form().menuPrtScr_Click();
  EXPECT_EQ(boxes_.shown.size(), 2u);
  EXPECT_TRUE(Files(".", "PrtScr_*.bmp").isEmpty());
}

TEST_F(Commands, PatternSettingOpensTheEditorOnTheAreaAndTracesBothEnds) {
  StartWith(settings_);
  int openedArea = -1;
  QString number;
  QTimer::singleShot(0, [&] {
    Form3* editor = form().PatternEditor();
    openedArea = editor->Area();
    if (auto* label = editor->findChild<QLabel*>("lblPatternNo")) number = label->text();
    editor->done(0);
  });
  form().menuPattern_Click(1);
  EXPECT_EQ(openedArea, 1);
  EXPECT_EQ(number, QStringLiteral("2"));
  const QStringList messages = TraceMessages();
  ASSERT_GE(messages.size(), 2);
  EXPECT_EQ(messages[messages.size() - 2], QStringLiteral(" Pattern Setting Start･･･"));
  EXPECT_EQ(messages.last(), QStringLiteral(" Pattern Setting1･･･End "));
}

TEST_F(Commands, SingleRecognitionWithNothingCapturedReadsNothing) {
  settings_.captureRegions[0].ex = 200;  // a region wider than any picture it holds
  StartWith(settings_);
  form().cmdRecognize_Click();
  EXPECT_EQ(form().RecognizedLevel(), 0);
  EXPECT_EQ(form().RecognizedExp(), 0);
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("認識NG"));
  EXPECT_EQ(Label("lblCapture_1")->text(), QStringLiteral("認識NG"));
}
