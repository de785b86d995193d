#pragma once
// Capture areas that follow the game window when it changes size. The
// stored areas count from the outer top-left corner of the window they were
// picked for; a status bar at the bottom of a taller window has moved down
// by the difference, one at the right edge of a wider window to the right.
// Pure.

#include <QSize>
#include <array>

#include "persistence/settings.h"

// `region`, picked on a window of outer size `reference`, for a window of
// outer size `current`: on each axis it keeps its distance from the edge it
// was nearer to (the left or top one on a tie). Unchanged when either size
// is unknown (empty).
CaptureRegion FollowWindowSize(const CaptureRegion& region, const QSize& reference, const QSize& current);
std::array<CaptureRegion, 2> FollowWindowSize(const std::array<CaptureRegion, 2>& regions, const QSize& reference,
                                              const QSize& current);

// The size the stored areas were picked for, as the settings keep it;
// empty when it is not known (a file from before it was kept, or areas
// typed in by hand).
QSize AreasReferenceSize(const Settings& settings);
void SetAreasReferenceSize(Settings& settings, const QSize& size);

// Stores `region` as area `area` (0 or 1), picked or typed for a game
// window of outer size `current`: the other area is moved for that size
// too, and `current` becomes the size both were picked for. Without a size
// (no game window) the region is stored and the size kept.
void StoreArea(Settings& settings, int area, const CaptureRegion& region, const QSize& current);

// What the capture step does with the areas from one look to the next: it
// reads at the followed areas, says once in the log that they were moved
// when the first reading after a change of size reads, and says clearly
// that they must be picked again when it does not.
class AreaFollower {
 public:
  struct Areas {
    std::array<CaptureRegion, 2> regions;  // where to read now
    bool referenceAdopted = false;         // no size was known: `current` is now the settings' reference
    bool sizeChanged = false;              // the window's size differs from the last look's
  };
  // The areas for a window of outer size `current`; adopts `current` as
  // the reference in `settings` when none is known.
  Areas For(Settings& settings, const QSize& current);

  enum class Outcome {
    Nothing,     // no change of size awaiting its first reading
    Moved,       // the first reading at moved areas read: say so in the log, once
    NotReadable  // it did not read: tell the player to pick the areas again
  };
  // The first reading after the areas were moved (or put back) for a new
  // size; every later call says Nothing until the size changes again.
  Outcome AfterReading(bool read);

 private:
  QSize lastSize_;
  bool awaitingReading_ = false;
  bool moved_ = false;
};
