// The program itself on a real X server under openbox, reading the practice
// game as players keep it: behind a window that holds the focus beside it,
// then covered by that window, then uncovered; and resized. Tallymeter runs
// in-process on a clock the test moves; the game gains on the wall clock.
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "capture/capture_notices.h"
#include "in_process_program.h"
#include "monitoring/monitoring_cycle.h"

namespace {

// Level 190 needs 1,312,399,850: the counter climbs 5,000 a second.
constexpr int kStepMs = 200;
constexpr int kGainPerStep = 1000;

// The experience of every reading line of the one log file (not its header).
QStringList LoggedExp(const QString& folder) {
  QStringList exp;
  for (const QString& line : LogLines(folder)) {
    const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() > 3 && fields[0].contains(u'/')) exp.push_back(QString(fields[3]).remove(u','));
  }
  return exp;
}

class X11Behind : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    InstallPatterns(folder);
    program = std::make_unique<InProcessProgram>(*ws, folder.Path());
    ASSERT_FALSE(program->started.ended);
    form().State().settings.captureInterval = 1;
  }
  void TearDown() override {
    program.reset();
    X11Test::TearDown();
  }
  Form1& form() { return *program->started.form; }
  // A minute on Tallymeter's clock and a second on the game's, then the
  // monitoring timer's tick: one timed capture each time.
  void NextCapture(int seconds = 60) {
    WaitUntil([] { return false; }, 1000);
    program->TickAfter(seconds);
  }
  QString ScreenLog() { return form().findChild<QPlainTextEdit*>(QStringLiteral("txtLog"))->toPlainText(); }

  TempFolder folder;
  std::unique_ptr<InProcessProgram> program;
};

TEST_F(X11Behind, AMeasurementGoesOnBesideAFocusedWindowStopsWhileItCoversAnAreaAndTheLogHoldsWhatWasSeen) {
  PracticeGame game("190", "1234567890", Gaining(kStepMs, kGainPerStep));
  const WindowId id = ShowGame(*ws, "190");
  ASSERT_NE(id, 0u);
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  // Tallymeter's own window beside the game, below Notes.
  form().move(outer.right() + 30, outer.top() + 300);
  QWidget notes;
  const WindowId notesId = ShowTitled(*ws, notes, "Notes", QRect(outer.right() + 30, outer.top() + 30, 300, 200));
  ASSERT_NE(notesId, 0u);
  const auto focusNotes = [&] {
    return WaitUntil([&] {
      if (ws->ForegroundWindow() != notesId) Activate(notesId);
      return ws->ForegroundWindow() == notesId;
    });
  };
  const auto moveNotes = [&](QPoint to) {
    MoveWindow(notesId, to);
    WaitUntil([] { return false; }, 300);  // the stacking settles
  };
  ASSERT_TRUE(focusNotes());

  form().menuRun_Click();
  NextCapture(20);
  ASSERT_EQ(program->Caption(0), QStringLiteral("190")) << "the first reading, from behind Notes";
  QStringList seen;  // the readings that make a line: every one after the first
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(focusNotes());
    NextCapture();
    seen.push_back(program->Caption(1));
  }
  EXPECT_TRUE(form().Monitor().StateText().startsWith(QStringLiteral("監視中"))) << form().Monitor().StateText().toStdString();

  moveNotes(outer.topLeft() + QPoint(kExpRegion.sx + 20, kExpRegion.sy - 100));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(focusNotes());
    NextCapture();
    EXPECT_EQ(program->Caption(1), seen.last()) << "nothing read while covered";
  }
  EXPECT_TRUE(form().Monitor().StateText().startsWith(QStringLiteral("ゲームが他のウィンドウに隠れています")))
      << form().Monitor().StateText().toStdString();

  moveNotes(QPoint(outer.right() + 30, outer.top() + 30));
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(focusNotes());
    NextCapture(i == 0 ? 15 : 60);  // the retry after the covered look is due first
    seen.push_back(program->Caption(1));
  }
  EXPECT_EQ(LoggedExp(folder.Path()), seen);
  EXPECT_TRUE(program->boxes.shown.empty());
}

TEST_F(X11Behind, TheResizedPracticeGameReadsOnAtTheFollowedAreasAndSaysSoOnceOnScreen) {
  PracticeGame game("190", "1234567890", Gaining(kStepMs, kGainPerStep));
  const WindowId id = ShowGame(*ws, "190");
  ASSERT_NE(id, 0u);
  const QSize picked = ws->OuterRect(id).value_or(QRect()).size();
  form().menuRun_Click();
  NextCapture(20);
  ASSERT_EQ(program->Caption(0), QStringLiteral("190"));
  EXPECT_EQ(QSize(form().State().settings.areasWindowWidth, form().State().settings.areasWindowHeight), picked);

  ASSERT_TRUE(Xdotool({"windowsize", "--sync", QString::number(id), "1024", "768"}));
  QSize now;
  ASSERT_TRUE(WaitUntil([&] { return (now = ws->OuterRect(id).value_or(QRect()).size()) != picked; }));
  WaitUntil([] { return false; }, 500);  // the game repaints at its new size
  Activate(id);
  const QString before = program->Caption(1);
  for (int i = 0; i < 2; ++i) NextCapture();
  EXPECT_EQ(program->Caption(0), QStringLiteral("190"));
  EXPECT_GT(program->Caption(1).toLongLong(), before.toLongLong());
  EXPECT_EQ(ScreenLog().count(AreasMovedLogText(picked, now)), 1) << ScreenLog().toStdString();
  EXPECT_EQ(LoggedExp(folder.Path()).size(), 2);
  EXPECT_TRUE(program->boxes.shown.empty());
}

}  // namespace
