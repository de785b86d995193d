#include "dialogs/placed_windows.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "dialogs/window_placement.h"

namespace {

struct Home {
  QPointer<QWidget> mainWindow;
  std::function<std::vector<QRect>()> spots;
};

Home& TheHome() {
  static Home home;
  return home;
}

bool OnScreen(const QWidget* w) { return w != nullptr && w->isVisible() && !w->isMinimized(); }

// The frame a window will have: before it is first shown the window system
// has told nothing of it, and a window of ours has the same as the owner's.
QSize FrameSize(const QWidget* window, const QWidget* owner) {
  QSize extra = window->frameGeometry().size() - window->size();
  if (extra.isEmpty() && owner != nullptr) extra = owner->frameGeometry().size() - owner->size();
  return window->size() + extra.expandedTo(QSize(0, 0));
}

}  // namespace

void SetPlacementHome(QWidget* mainWindow, std::function<std::vector<QRect>()> spotsToKeepClear) {
  TheHome() = Home{mainWindow, std::move(spotsToKeepClear)};
}

QWidget* OwnerOfNewWindow() {
  // Never a minimised or hidden window (the main window in the tray): what
  // it owns is hidden with it, and a modal box nobody sees stops the program.
  for (QWidget* w : {QApplication::activeModalWidget(), QApplication::activeWindow(), TheHome().mainWindow.data()}) {
    if (OnScreen(w)) return w;
  }
  return nullptr;
}

void PlaceBesideOwner(QWidget* window, const QWidget* owner) {
  const Home& home = TheHome();
  if (owner == nullptr) owner = OwnerOfNewWindow();
  if (owner == window) owner = home.mainWindow.data();
  if (!OnScreen(owner)) owner = home.mainWindow.data();
  // The main window's screen: the one the player looks at for our windows.
  const QWidget* main = OnScreen(home.mainWindow.data()) ? home.mainWindow.data() : owner;
  const QScreen* screen = main != nullptr ? main->screen() : window->screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const QRect ownerRect =
      OnScreen(owner) ? owner->frameGeometry() : QRect(available.center(), QSize(1, 1));
  // The spots are the main window's to tell: gone with it.
  std::vector<QRect> avoid = home.mainWindow && home.spots ? home.spots() : std::vector<QRect>{};
  // A window of ours that stays on top (the compact view) would hide part
  // of one opened under it.
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other != window && OnScreen(other) && other->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
      avoid.push_back(other->frameGeometry());
    }
  }
  window->move(PlaceBeside(FrameSize(window, owner), ownerRect, avoid, available));
}
