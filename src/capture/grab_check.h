#pragma once
// Grabs that show no game: a picture in one colour (a full-screen game the
// screen copy cannot see, a minimised window) or the very same picture
// again and again while the game's counters move (a frozen composition).
// Such grabs are not "no digits": after a few in a row the player is told
// what they likely mean. And where the screen gives black, the window's own
// contents may still be had. Pure.

#include <QImage>
#include <array>
#include <functional>
#include <vector>

#include "capture/window_system.h"

enum class GrabTrouble {
  None,
  Uniform,  // every pixel of both areas one colour
  Frozen,   // byte for byte the previous grab, while the counters move
};

// Whether every pixel of every picture that exists is one and the same
// colour; false when none exists.
bool UniformGrab(const std::vector<QImage>& pictures);

// Watches the grab pairs of one measurement.
class GrabWatch {
 public:
  static constexpr int kInARow = 3;

  struct Verdict {
    GrabTrouble trouble = GrabTrouble::None;  // kInARow or more such grabs in a row
    bool began = false;  // this grab made the row: one log line and an alert
  };

  // One grab of both areas. `countersMoving`: the game's counters are known
  // to move (the readings before this grab were rising), so a picture that
  // stays the same says the grab no longer sees the game. Null pictures (the
  // window went) prove nothing and change nothing.
  Verdict Feed(const std::array<QImage, 2>& pictures, bool countersMoving);

  // A new measurement: forget every grab.
  void Reset();

 private:
  std::array<QImage, 2> previous_;
  GrabTrouble runKind_ = GrabTrouble::None;
  int run_ = 0;
};

// The pictures of a grab and the way they came.
struct ChosenGrab {
  std::vector<QImage> images;
  GrabWay way = GrabWay::Screen;
};

// The screen's pictures, unless every one of them is black: then those of
// `windowContents` (the window drawing itself), when they show anything
// but black and are as many; else the screen's black ones.
ChosenGrab ChooseGrab(std::vector<QImage> screen, const std::function<std::vector<QImage>()>& windowContents);
