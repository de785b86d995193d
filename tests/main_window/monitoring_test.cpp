#include <QAction>
#include <QDir>
#include <QLabel>

#include "accounting/log_headers.h"
#include "persistence/text_file.h"
#include "program_fixture.h"

namespace {

const Notice kGameMissing{"MapleStoryが起動していません", "エラー"};

}  // namespace

class Monitoring : public ProgramTest {
 protected:
  void SetUp() override {
    Settings settings = DefaultSettings();
    settings.lag = 0;
    UseSettings(settings);
    Start();
  }
};

TEST_F(Monitoring, RunWithoutTheGameShowsTheMessageAndChangesNothing) {
  const QStringList before = TraceMessages();
  Run();
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0], kGameMissing);
  EXPECT_FALSE(form().IsMonitoring());
  EXPECT_TRUE(Action("menuRun")->isEnabled());
  EXPECT_EQ(Action("menuRun")->text(), QStringLiteral("開始"));
  EXPECT_FALSE(Action("menuStop")->isEnabled());
  EXPECT_TRUE(form().LogText().isEmpty());
  EXPECT_EQ(TraceMessages(), before);
}

TEST_F(Monitoring, StopBefore20SecondsMakesNoCaptureAndRunAgainAddsASecondHeader) {
  OpenGame("152", "1234567890");
  Run();
  EXPECT_TRUE(form().IsMonitoring());
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Loging Start･･･ "));
  RunFor(19);
  form().menuStop_Click();
  RunFor(60);
  EXPECT_TRUE(windows_.grabs.empty());
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n");
  EXPECT_FALSE(form().IsMonitoring());
  EXPECT_EQ(Action("menuRun")->text(), QStringLiteral("開始"));
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Loging Stop･･･End "));
  Run();
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n" + ScreenHeader() + "\r\n");
}

TEST_F(Monitoring, TheGameBehindAnotherWindowIsNeverCapturedButCaughtSoonAfterItComesToFront) {
  OpenGame("152", "1234567890", /*inFront=*/false);
  Run();
  RunFor(3600);
  EXPECT_TRUE(windows_.grabs.empty());
  EXPECT_TRUE(boxes_.shown.empty());
  windows_.foreground = game_;
  RunFor(20);
  EXPECT_FALSE(windows_.grabs.empty());
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("152"));
  EXPECT_EQ(Label("lblCapture_1")->text(), QStringLiteral("1234567890"));
}

TEST_F(Monitoring, FirstReadingBeginsTheLogFileAndAGainIsWrittenToIt) {
  OpenGame("152", "1234567890");
  Run();
  RunFor(20);
  EXPECT_EQ(form().RecognizedLevel(), 152);
  EXPECT_EQ(form().RecognizedExp(), 1234567890.0);
  ASSERT_FALSE(form().LogWriter().LogStamp().isEmpty());
  const QString path = form().LogWriter().CurrentPath(form().State().settings);
  EXPECT_EQ(DecodeCp932(folder_.Read(QDir(folder_.Path()).relativeFilePath(path))), TxtFileHeader() + "\r\n");
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Fast ImageRecognition"));
  EXPECT_EQ(form().LogText().count("\r\n"), 2);

  OpenGame("152", "1234600000");
  RunFor(20 * 60);
  const QStringList lines = DecodeCp932(folder_.Read(QDir(folder_.Path()).relativeFilePath(path)))
                                .split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[1].contains(QStringLiteral("32,110"))) << lines[1].toStdString();
  const QStringList screen = form().LogText().split("\r\n", Qt::SkipEmptyParts);
  EXPECT_TRUE(screen.last().contains(QStringLiteral("32,110")));
}

TEST_F(Monitoring, EveryRunBeginsItsOwnLogFile) {
  OpenGame("152", "1234567890");
  Run();
  RunFor(20);
  form().menuStop_Click();
  EXPECT_TRUE(form().LogWriter().LogStamp().isEmpty());
  clock_.AdvanceSeconds(120);
  Run();
  RunFor(20);
  // The first reading of the new run starts a file again, without waiting
  // for a level change.
  EXPECT_FALSE(form().LogWriter().LogStamp().isEmpty());
  EXPECT_EQ(CountTrace(" Fast ImageRecognition"), 2);
}

TEST_F(Monitoring, LosingTheGameWithAnActiveLogFileStopsOnceAndEmptiesThePictures) {
  OpenGame("152", "1234567890");
  Run();
  RunFor(20);
  ASSERT_FALSE(form().Capture(0).isNull());
  CloseGame();
  RunFor(3 * 20 * 60);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0], kGameMissing);
  EXPECT_FALSE(form().IsMonitoring());
  EXPECT_TRUE(Action("menuRun")->isEnabled());
  EXPECT_TRUE(form().Capture(0).isNull());
  EXPECT_TRUE(form().Capture(1).isNull());
  EXPECT_TRUE(form().LogWriter().LogStamp().isEmpty());
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Lost MapleStory Then Log Stop"));
}

TEST_F(Monitoring, LosingTheGameBeforeAnyReadingGivesUpEachCaptureButKeepsMonitoring) {
  OpenGame("152", "1234567890");
  Run();
  CloseGame();
  RunFor(20);
  EXPECT_EQ(boxes_.shown.size(), 1u);
  EXPECT_TRUE(form().IsMonitoring());
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Lost MapleStory Then Capture Stop"));
  RunFor(20 * 60);
  EXPECT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(CountTrace(" Lost MapleStory Then Capture Stop"), 2);
  EXPECT_TRUE(form().IsMonitoring());
}

TEST_F(Monitoring, ABoxLeftOpenDoesNotPileUpMoreBoxes) {
  form().State().settings.captureInterval = 1;
  OpenGame("152", "1234567890");
  Run();
  CloseGame();
  int opened = 0;
  boxes_.whileOpen = [&] {
    // The user leaves the box open for ten minutes while the timer runs.
    if (++opened == 1) RunFor(600);
  };
  RunFor(20);
  EXPECT_EQ(boxes_.shown.size(), 1u);
  // Once it is closed, the next due capture shows the next one.
  RunFor(10);
  EXPECT_EQ(boxes_.shown.size(), 2u);
}

TEST_F(Monitoring, ANewIntervalTakesEffectAfterTheNextCapture) {
  OpenGame("152", "1234567890");
  Run();
  RunFor(20);
  const std::size_t first = windows_.grabs.size();
  ASSERT_GT(first, 0u);
  form().State().settings.captureInterval = 5;
  RunFor(10 * 60);
  EXPECT_EQ(windows_.grabs.size(), first) << "the due time set with the old interval still holds";
  RunFor(10 * 60);
  const std::size_t second = windows_.grabs.size();
  EXPECT_GT(second, first);
  RunFor(5 * 60);
  EXPECT_GT(windows_.grabs.size(), second);
}
