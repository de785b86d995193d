#include "main_window/tray_icon.h"

#include <QMenu>
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "support/qstring_printer.h"

namespace {

TEST(TrayIcon, EachStateHasItsColourAndMenuAndTheToolTipTellsTheRate) {
  const auto centreLeft = [](TrayState state) { return TrayPicture(state, 32).pixel(8, 16); };
  const std::set<QRgb> colours{centreLeft(TrayState::Stopped), centreLeft(TrayState::Monitoring),
                               centreLeft(TrayState::Alert)};
  EXPECT_EQ(colours.size(), 3u);
  EXPECT_EQ(QColor::fromRgba(TrayPicture(TrayState::Alert, 32).pixel(0, 0)).alpha(), 0) << "round, not square";

  EXPECT_EQ(TrayToolTip(TrayState::Stopped, std::nullopt), QStringLiteral("Tallymeter 停止中"));
  EXPECT_EQ(TrayToolTip(TrayState::Alert, -1), QStringLiteral("Tallymeter 警告あり 時給 -1 k/h"));

  // Its menu runs, stops and shows as the state allows.
  int runs = 0, stops = 0, toggles = 0;
  TrayIcon tray({[&] { ++runs; }, [&] { ++stops; }, [&] { ++toggles; }});
  const QList<QAction*> actions = tray.Menu()->actions();
  ASSERT_EQ(actions.size(), 4);  // Run, Stop, a separator, the window
  EXPECT_TRUE(actions[0]->isEnabled());
  EXPECT_FALSE(actions[1]->isEnabled());
  tray.SetState(TrayState::Alert);
  EXPECT_FALSE(actions[0]->isEnabled());
  EXPECT_TRUE(actions[1]->isEnabled());
  for (QAction* action : actions) action->trigger();
  EXPECT_EQ(std::tuple(runs, stops, toggles), std::tuple(0, 1, 1)) << "Run is not offered while monitoring";
  tray.SetState(TrayState::Stopped);
  actions[0]->trigger();
  EXPECT_EQ(runs, 1);
  tray.SetLastRate(96);
  EXPECT_EQ(tray.ToolTip(), QStringLiteral("Tallymeter 停止中 時給 96 k/h"));
}

}  // namespace
