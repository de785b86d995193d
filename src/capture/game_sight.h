#pragma once
// Whether the player can see the game's two capture areas while another
// window is in front: the rule the capture step follows when it reads a
// game that is not in front. Pure: the backends gather the facts
// (WindowSight), this decides.

#include <QRect>
#include <array>
#include <optional>
#include <vector>

#include "capture/window_system.h"
#include "persistence/settings.h"

enum class AreasSeen {
  Visible,       // both areas on a monitor, nothing drawn over them
  Minimised,
  OtherDesktop,  // on another virtual desktop
  Cloaked,       // hidden by the compositor (another desktop, a suspended app)
  OffScreen,     // part of an area lies on no monitor
  Covered,       // another window draws over an area
};

// Where `region` of a window whose outer rectangle is `outer` lies on the
// screen, cut to kMaxCaptureSide as a capture cuts it; nothing when it lies
// beyond any coordinate a screen can have.
std::optional<QRect> AreaOnScreen(const QRect& outer, const CaptureRegion& region);

// Whether both `areas` (screen rectangles; one of no size counts as seen)
// of the window `sight` describes can be seen on `monitors`. The first
// reason that holds is given: minimised, another desktop, cloaked, off the
// monitors, covered. A window above, or the one in front, covers an area it
// overlaps unless it is not shown or draws nothing there (a transparent or
// click-through overlay).
AreasSeen SeeAreas(const WindowSight& sight, const std::vector<QRect>& monitors, const std::array<QRect, 2>& areas);

// For a look: a game in front is seen as it always was (Visible, whatever
// lies on top); one behind, by its sight; nothing when the look holds no
// sight of a game behind, or found no game.
std::optional<AreasSeen> SeeGameAreas(const WindowLook& look, const std::array<CaptureRegion, 2>& regions);
