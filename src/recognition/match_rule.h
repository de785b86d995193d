#pragma once
// The arithmetic of a match: how a count of agreeing channel bytes becomes a
// score, how many agreeing bytes a pattern needs to pass, and which patterns
// can take part at all. Both scans use these, so they agree by construction
// on everything but the counting itself.

#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

inline constexpr int kChannelTolerance = 20;  // |difference| up to this agrees

// ((count * 10000) div w) div h div 3; w and h are 1 … 41.
constexpr int ScoreFromCount(int count, int width, int height) {
  return count * 10000 / width / height / 3;
}

// Smallest count whose score is above the match threshold; 3 * w * h + 1
// when even a perfect count does not pass.
int NeededCount(int width, int height);

// A grid whose pixel count matches its size; any other is read as empty.
bool GridConsistent(const PixelGrid& grid);

// A pattern takes part only when it is 1 … kLargestPatternSide pixels in each direction and
// no larger than the capture it is compared with; any other never matches
// (its score is 0). Patterns outside that range are outside the data model,
// and comparing them would read outside the pattern or the capture.
bool PatternUsable(const Pattern& pattern, const PixelGrid& capture);

// The last column a scan examines: the region width minus 4, but never past
// the capture picture itself (the capture is taken at the region's width,
// so this only matters when the two disagree, e.g. a failed capture).
int LastScanColumn(int regionWidth, const PixelGrid& capture);
