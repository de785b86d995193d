// The program itself on a real X server under openbox, reading the practice
// game as players keep it: behind a window that holds the focus beside it,
// then covered by that window, then uncovered; and resized. Tallymeter runs
// in-process on a clock the test moves; the game gains on the wall clock.
#include <QPlainTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

#include "base/cp932.h"
#include "capture/capture_notices.h"
#include "in_process_program.h"
#include "monitoring/monitoring_cycle.h"

namespace {

// Level 190 needs 1,312,399,850: the counter climbs 5,000 a second.
constexpr int kStepMs = 200;
constexpr int kGainPerStep = 1000;

// The experience of every reading line of the one log file (not its header).
QStringList LoggedExp(const QString& folder) {
  const QStringList files = QDir(folder + "/log").entryList(QDir::Files);
  if (files.size() != 1) return {QStringLiteral("%1 log files").arg(files.size())};
  QFile file(folder + "/log/" + files[0]);
  if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("unreadable")};
  QStringList exp;
  for (const QString& line : DecodeCp932(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
    const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() > 3 && fields[0].contains(u'/')) exp.push_back(QString(fields[3]).remove(u','));
  }
  return exp;
}

bool Xdotool(const QStringList& arguments) { return RunTool(QStringLiteral("xdotool"), arguments); }

class X11Behind : public ::testing::Test {
 protected:
  void SetUp() override {
    x11 = OpenX11WindowSystem();
    ASSERT_NE(x11, nullptr) << "no X display";
    InstallPatterns(folder);
    program = std::make_unique<InProcessProgram>(*x11, folder.Path());
    ASSERT_FALSE(program->started.ended);
    form().State().settings.captureInterval = 1;
  }
  void TearDown() override {
    program.reset();
    EXPECT_TRUE(!x11 || WaitUntil([&] { return x11->FindWindowByTitle(kGame) == 0; }));
  }
  Form1& form() { return *program->started.form; }
  // A minute on Tallymeter's clock and a second on the game's, then the
  // monitoring timer's tick: one timed capture each time.
  void NextCapture(int seconds = 60) {
    WaitUntil([] { return false; }, 1000);
    program->clock.AdvanceSeconds(seconds);
    form().timCaptureInterval_Timer();
  }
  QString ScreenLog() { return form().findChild<QPlainTextEdit*>(QStringLiteral("txtLog"))->toPlainText(); }

  std::unique_ptr<WindowSystem> x11;
  TempFolder folder;
  std::unique_ptr<InProcessProgram> program;
};

TEST_F(X11Behind, AMeasurementGoesOnBesideAFocusedWindowStopsWhileItCoversAnAreaAndTheLogHoldsWhatWasSeen) {
  GainingGame game(190, 1'234'567'890, kStepMs, kGainPerStep);
  const WindowId id = ShowGame(*x11, "190");
  ASSERT_NE(id, 0u);
  const QRect outer = x11->OuterRect(id).value_or(QRect());
  // Tallymeter's own window beside the game, below Notes.
  form().move(outer.right() + 30, outer.top() + 300);
  QWidget notes;
  notes.setWindowTitle(QStringLiteral("Notes"));
  notes.setGeometry(outer.right() + 30, outer.top() + 30, 300, 200);
  notes.show();
  WindowId notesId = 0;
  ASSERT_TRUE(WaitUntil([&] { return (notesId = x11->FindWindowByTitle(QStringLiteral("Notes"))) != 0; }));
  const auto focusNotes = [&] {
    return WaitUntil([&] {
      if (x11->ForegroundWindow() != notesId) Xdotool({"windowactivate", "--sync", QString::number(notesId)});
      return x11->ForegroundWindow() == notesId;
    });
  };
  const auto moveNotes = [&](QPoint to) {
    Xdotool({"windowmove", "--sync", QString::number(notesId), QString::number(to.x()), QString::number(to.y())});
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
  GainingGame game(190, 1'234'567'890, kStepMs, kGainPerStep);
  const WindowId id = ShowGame(*x11, "190");
  ASSERT_NE(id, 0u);
  const QSize picked = x11->OuterRect(id).value_or(QRect()).size();
  form().menuRun_Click();
  NextCapture(20);
  ASSERT_EQ(program->Caption(0), QStringLiteral("190"));
  EXPECT_EQ(QSize(form().State().settings.areasWindowWidth, form().State().settings.areasWindowHeight), picked);

  ASSERT_TRUE(Xdotool({"windowsize", "--sync", QString::number(id), "1024", "768"}));
  QSize now;
  ASSERT_TRUE(WaitUntil([&] { return (now = x11->OuterRect(id).value_or(QRect()).size()) != picked; }));
  WaitUntil([] { return false; }, 500);  // the game repaints at its new size
  Xdotool({"windowactivate", "--sync", QString::number(id)});
  const QString before = program->Caption(1);
  for (int i = 0; i < 2; ++i) NextCapture();
  EXPECT_EQ(program->Caption(0), QStringLiteral("190"));
  EXPECT_GT(program->Caption(1).toLongLong(), before.toLongLong());
  EXPECT_EQ(ScreenLog().count(AreasMovedLogText(picked, now)), 1) << ScreenLog().toStdString();
  EXPECT_EQ(LoggedExp(folder.Path()).size(), 2);
  EXPECT_TRUE(program->boxes.shown.empty());
}

}  // namespace
