// Tallymeter's own windows against the practice game on a real X server
// under openbox: the box that says the game is gone stays above the game
// come back to the front; the compact view never covers a capture area,
// even when the game moves under it; the main window first opens beside the
// game and comes back where it was left.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <gtest/gtest.h>

#include "dialogs/qt_message_boxes.h"
#include "main_window/compact_view.h"
#include "in_process_program.h"

namespace {

// The window of ours whose frame is `frame`, among those above the game.
bool AboveTheGame(WindowSystem& ws, WindowId game, const QRect& frame) {
  const std::optional<WindowSight> sight = ws.SightOf(game);
  return sight && std::any_of(sight->above.begin(), sight->above.end(), [&](const OtherWindow& w) {
           return w.shown && w.rect.intersects(frame);
         });
}

// Whether `frame` covers a capture area of the game where it is now.
bool OverAnArea(WindowSystem& ws, WindowId game, const Settings& settings, const QRect& frame) {
  const QRect outer = ws.OuterRect(game).value_or(QRect());
  return std::any_of(settings.captureRegions.begin(), settings.captureRegions.end(), [&](const CaptureRegion& r) {
    return QRect(outer.topLeft() + QPoint(r.sx, r.sy), QSize(r.ex, r.ey)).intersects(frame);
  });
}

using X11OwnWindows = InProcessTest<>;

TEST_F(X11OwnWindows, TheLostGameBoxStandsAboveTheGameAndIsNeverJoinedByASecond) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  QtMessageBoxes boxes;
  boxes.Warn(QStringLiteral("MapleStoryが起動していません"), QStringLiteral("エラー"));
  ASSERT_NE(boxes.Warning(), nullptr) << "the program goes on while it stands";
  // Over the game's middle, where the player looks.
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  boxes.Warning()->move(outer.center() - QPoint(100, 50));
  ASSERT_TRUE(WaitUntil([&] { return boxes.Warning()->isVisible() && boxes.Warning()->frameGeometry().intersects(outer); }));
  // The game brought back to the front: the box stays above it. The box,
  // mapped a moment before, may still take the focus back from the game on
  // a loaded machine; the player would click the game again, and so do we.
  ASSERT_TRUE(WaitUntil([&] {
    if (ws->ForegroundWindow() != id) Activate(id);
    return ws->ForegroundWindow() == id;
  }));
  EXPECT_TRUE(WaitUntil([&] { return AboveTheGame(*ws, id, boxes.Warning()->frameGeometry()); }));
  boxes.Warn(QStringLiteral("MapleStoryが起動していません"), QStringLiteral("エラー"));
  int shown = 0;
  for (const QWidget* w : QApplication::topLevelWidgets()) shown += w->isVisible() && qobject_cast<const QMessageBox*>(w);
  EXPECT_EQ(shown, 1);
}

TEST_F(X11OwnWindows, TheCompactViewKeepsOffTheAreasWhenOpenedAndWhenTheGameMovesUnderIt) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(Start());
  Form1& form = this->form();
  Settings& settings = form.State().settings;
  // Left last time right over the experience area.
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  settings.compactViewX = outer.x() + settings.captureRegions[1].sx;
  settings.compactViewY = outer.y() + settings.captureRegions[1].sy - 20;
  form.menuCompact_Click();
  CompactView* compact = form.Compact();
  ASSERT_NE(compact, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return compact->isVisible(); }));
  EXPECT_TRUE(WaitUntil([&] { return !OverAnArea(*ws, id, settings, compact->frameGeometry()); })) << "opened off them";

  // The game dragged so that its level area lies under the compact view.
  const QRect view = compact->frameGeometry();
  const QPoint level(settings.captureRegions[0].sx, settings.captureRegions[0].sy);
  const QPoint to = view.center() - level;
  form.menuRun_Click();
  MoveWindow(id, to);
  ASSERT_TRUE(WaitUntil([&] { return OverAnArea(*ws, id, settings, view); }));
  program->RunFor(10);
  EXPECT_TRUE(WaitUntil([&] { return !OverAnArea(*ws, id, settings, compact->frameGeometry()); }))
      << "moved off when the game came under it";
  form.menuStop_Click();
}

TEST_F(X11OwnWindows, TheMainWindowOpensBesideTheGameAndComesBackWhereItWasLeftOnTheScreen) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  // Room for the main window right of the game.
  Xdotool({"windowsize", "--sync", QString::number(id), "700", "620"});
  MoveWindow(id, {0, 0});
  QRect outer;
  ASSERT_TRUE(WaitUntil([&] {
    outer = ws->OuterRect(id).value_or(QRect());
    return outer.right() < 720 && outer.left() < 20;
  }));
  // The frame's width arrives from the window manager after the window is
  // placed: a pixel or two over the edge is still on the screen.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry().adjusted(-2, -2, 2, 2);
  ASSERT_TRUE(Start());
  const auto beside = [&] { const auto f = form().frameGeometry(); return screen.contains(f) && !outer.intersects(f); };
  EXPECT_TRUE(WaitUntil(beside)) << "a first start: beside the game, on the screen";

  // Moved and resized by the player, then closed.
  const QRect left(40, 60, 600, 560);
  const auto whereLeft = [&] { return QRect(form().frameGeometry().topLeft(), form().size()) == left; };
  form().move(left.topLeft());
  form().resize(left.size());
  ASSERT_TRUE(WaitUntil(whereLeft));
  form().close();
  program.reset();
  ASSERT_TRUE(Start());
  EXPECT_TRUE(WaitUntil(whereLeft)) << "where it was left";
}

}  // namespace
