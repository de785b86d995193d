// The program itself on a real X server under openbox, reading the practice
// game as players keep it: behind a window that holds the focus beside it,
// then covered by that window, then uncovered, then resized. Tallymeter runs
// in-process on a clock the test moves; the game gains on the wall clock.
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "capture/capture_notices.h"
#include "in_process_program.h"
#include "monitoring/monitoring_cycle.h"

namespace {

// The experience of every reading line of the one log file (not its header).
QStringList LoggedExp(const QString& folder) {
  QStringList exp;
  for (const QString& line : LogLines(folder)) {
    const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() > 3 && fields[0].contains(u'/')) exp.push_back(QString(fields[3]).remove(u','));
  }
  return exp;
}

class X11Behind : public InProcessTest<> {
 protected:
  void SetUp() override {
    InProcessTest::SetUp();
    ASSERT_TRUE(Start());
    form().State().settings.captureInterval = 1;
  }
};

TEST_F(X11Behind, ReadBesideAFocusedWindowNotWhileItCoversAnAreaOnAtTheFollowedAreasWhenResizedAndLoggedAsSeen) {
  // Level 190 needs 1,312,399,850: the counter climbs 1,000 every 200 ms of wall-clock time.
  PracticeGame game("190", "1234567890", {"--step-ms", "200", "--gain", "1000"});
  const WindowId id = ShowGame(*ws, "190");
  ASSERT_NE(id, 0u);
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  // Tallymeter's own window beside the game, below Notes.
  form().move(outer.right() + 30, outer.top() + 300);
  QWidget notes;
  const WindowId notesId = ShowTitled(*ws, notes, "Notes", QRect(outer.right() + 30, outer.top() + 30, 300, 200));
  ASSERT_NE(notesId, 0u);
  QStringList seen;  // the readings that make a line: every one after the first
  // `count` timed captures with Notes in front, each a minute on Tallymeter's
  // clock (the first `first` seconds) and a second on the game's; what they
  // read comes `into` the list.
  const auto captures = [&](int count, QStringList* into, int first = 60) {
    for (int i = 0; i < count; ++i) {
      ASSERT_TRUE(WaitUntil([&] {
        if (ws->ForegroundWindow() != notesId) Activate(notesId);
        return ws->ForegroundWindow() == notesId;
      }));
      WaitUntil([] { return false; }, 1000);
      program->RunFor(i == 0 ? first : 60);
      if (into) into->push_back(program->Caption(1));
    }
  };
  const auto moveNotes = [&](QPoint to) {
    MoveWindow(notesId, to);
    WaitUntil([] { return false; }, 300);  // the stacking settles
  };
  const auto stateText = [&] { return form().Monitor().StateText(); };

  form().menuRun_Click();
  captures(1, nullptr, 20);
  ASSERT_EQ(program->Caption(0), QStringLiteral("190")) << "the first reading, from behind Notes";
  EXPECT_EQ(QSize(form().State().settings.areasWindowWidth, form().State().settings.areasWindowHeight), outer.size());
  captures(3, &seen);
  EXPECT_TRUE(stateText().startsWith(QStringLiteral("監視中"))) << stateText().toStdString();

  moveNotes(outer.topLeft() + QPoint(kExpRegion.sx + 20, kExpRegion.sy - 100));
  QStringList covered;
  captures(3, &covered);
  EXPECT_EQ(covered, QStringList(3, seen.last())) << "nothing read while covered";
  EXPECT_TRUE(stateText().startsWith(QStringLiteral("ゲームが他のウィンドウに隠れています"))) << stateText().toStdString();

  moveNotes(QPoint(outer.right() + 30, outer.top() + 30));
  captures(2, &seen, 20);  // the retry 15 seconds after the covered look comes first

  // Resized: read on at the areas followed to the new size, and said so once.
  ASSERT_TRUE(Xdotool({"windowsize", "--sync", QString::number(id), "1024", "768"}));
  QSize now;
  ASSERT_TRUE(WaitUntil([&] { return (now = ws->OuterRect(id).value_or(QRect()).size()) != outer.size(); }));
  WaitUntil([] { return false; }, 500);  // the game repaints at its new size
  captures(2, &seen);
  EXPECT_EQ(program->Caption(0), QStringLiteral("190"));
  const QString screenLog = form().findChild<QPlainTextEdit*>(QStringLiteral("txtLog"))->toPlainText();
  EXPECT_EQ(screenLog.count(AreasMovedLogText(outer.size(), now)), 1) << screenLog.toStdString();
  EXPECT_EQ(LoggedExp(folder.Path()), seen);
  EXPECT_TRUE(program->boxes.shown.empty());
}

}  // namespace
