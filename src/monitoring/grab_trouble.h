#pragma once
// Whether the timed captures of a run show the game at all: a grab in one
// colour, or one that stays the same picture while the counters rise. Told
// once per run; the state line says so while it lasts.

#include <QImage>
#include <array>
#include <optional>

#include "capture/grab_check.h"
#include "monitoring/alerts.h"

class GrabTroubleTracker {
 public:
  struct Outcome {
    bool changed = false;               // the trouble the state line shows is another now
    std::optional<GrabTrouble> toTell;  // began, and not told this run yet
  };

  // A run begins: nothing seen, nothing told.
  void Reset();
  // The pictures of a timed or manual capture and the point its reading
  // made (none when nothing was read). Areas the player was told to pick
  // again may well show one colour: that is no trouble of the grab.
  Outcome Feed(const std::array<QImage, 2>& pictures, std::optional<ReadingPoint> point, bool areasUnreadable);
  GrabTrouble Trouble() const { return trouble_; }

 private:
  GrabWatch watch_;
  GrabTrouble trouble_ = GrabTrouble::None;
  bool told_ = false;
  std::array<QImage, 2> lastGrab_;
  std::optional<ReadingPoint> lastPoint_;
  int risesInARow_ = 0;  // readings of pictures that changed, each above the one before
};
