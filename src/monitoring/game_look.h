#pragma once
// One look at the game for a reading: whether it is there, whether it may
// be read where it stands (in front; or, with 前面でなくても見えていれば読む,
// behind other windows while both areas are in sight), and where its areas
// lie on a window whose size changed since they were picked. The timed
// capture step and the live readings both look this way, so they read the
// same game at the same places.

#include <QSize>
#include <array>
#include <optional>

#include "capture/area_follow.h"
#include "capture/game_sight.h"
#include "capture/window_system.h"
#include "monitoring/state_line.h"
#include "persistence/settings.h"

struct GameView {
  WindowLook look;
  // InFront: it may be read now (in front, or in sight behind another window).
  GameSeen game = GameSeen::Unknown;
  // Why a game behind cannot be read, when the window system could tell.
  std::optional<AreasSeen> hidden;
  std::array<CaptureRegion, 2> regions;  // where to read, for the window's size now
  QSize pickedFor;                       // the size the stored areas were picked for
  QSize size;                            // the window's outer size now; empty when not seen
};

// `follower` keeps the sizes from one look to the next; `settings` takes
// the window's size as the areas' own when none was stored with them.
GameView LookAtGame(WindowSystem& windows, Settings& settings, AreaFollower& follower);
