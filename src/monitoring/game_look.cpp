#include "monitoring/game_look.h"

namespace {

// A window kept off the screen has no size of its own worth following (a
// minimised one on Windows is a small caption far off the desktop).
bool SizeMeansSomething(const WindowLook& look) {
  if (!look.outer) return false;
  if (look.inFront || !look.sight) return true;
  return !look.sight->minimised && !look.sight->otherDesktop && !look.sight->cloaked;
}

}  // namespace

GameView LookAtGame(WindowSystem& windows, Settings& settings, AreaFollower& follower) {
  GameView view;
  // Off, the game is read only in front: its sight is never asked.
  view.look = settings.readWhenVisible ? windows.LookAtEvenBehind(kGameTitle) : windows.LookAt(kGameTitle);
  view.regions = settings.captureRegions;
  if (view.look.window == 0) {
    view.game = GameSeen::Missing;
    return view;
  }
  if (SizeMeansSomething(view.look)) {
    view.size = view.look.outer->size();
    view.regions = follower.For(settings, view.size).regions;
    view.pickedFor = AreasReferenceSize(settings);
  }
  const std::optional<AreasSeen> seen = SeeGameAreas(view.look, view.regions);
  if (seen == AreasSeen::Visible) {
    view.game = GameSeen::InFront;
  } else {
    view.game = GameSeen::Behind;
    view.hidden = seen;
  }
  return view;
}
