#pragma once
// Reading digit strings out of captured pixels by comparing them with the
// reference patterns. Pure: works on pixel grids and the pattern set; the
// lag wait and the debug preview are hooks the main window supplies.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

inline constexpr int kMatchThreshold = 9750;  // a score must be above this
inline constexpr int kNearMatch = 9000;  // a score this high is the same glyph drawn a little otherwise

class PatternMatcher;

// Score of pattern `p` against the capture at column X (row 0): 0 … 10000.
// Capture columns right of the picture read black. A pattern that is not 1 …
// kLargestPatternSide pixels in each direction, or is wider or taller than the capture,
// never matches: its score is 0.
int MatchScore(const Pattern& p, const PixelGrid& capture, int x);
// Whether that score is a match.
inline bool Reads(const Pattern& p, const PixelGrid& capture, int x) { return MatchScore(p, capture, x) > kMatchThreshold; }
// Digit `digit` (0 … 9) of area `area` at column X: the best score of its
// looks, its pattern and its variants. A variant reads as its digit.
int DigitScore(const PatternSet& set, int area, int digit, const PixelGrid& capture, int x);

struct RecognitionHooks {
  // Once per column (outside debug mode) and once per digit candidate (in
  // debug mode), only when the lag is above 0.
  std::function<void()> lagWait;
  // Caption changes of lblCapture(area) while scanning ("認識中…" …).
  std::function<void(int area, const QString& caption)> caption;
  // Debug mode: show digit `digit` of `area` against the capture at column x.
  std::function<void(int area, int digit, int x)> preview;
};

struct RecognitionResult {
  std::int32_t level = 0;                 // 0: not read
  double exp = 0;                         // 0: not read
  std::array<QString, 2> captions;        // digit string, or "認識NG"
  // The digit strings the scans read (possibly empty, or zeros), whether
  // or not the area counts as read.
  std::array<QString, 2> digits;
  // Why an area reads "認識NG"; empty for an area that was read.
  std::array<QString, 2> failures;
  // The report, one line per column examined, area 0 first, and after an
  // area's lines "認識NG:" and the reason when the scan passed over ink no
  // pattern reads. Built only in debug mode (the only time it is written);
  // empty otherwise.
  QString trace;
};

// Both areas, area 0 first. `regionWidths` are the regions' `ex`; `lag` the
// lag time in milliseconds (0 or less: no waits). The scan of an area
// examines columns 0 … ex − 4, but never past the capture picture (it is
// taken at the region's width, so this only matters when they disagree).
// After a digit it moves on cellWidth − 1 columns, and at least one. A
// level of ten or more digits does not fit 32 bits and counts as not read;
// so does an area where the scan passed over ink no pattern reads
// (recognition/unread_ink.h).
// `caption` is called with "認識中…", in debug mode with the growing digits
// followed by "認識中…", and with the final digit string; the result's
// captions then hold what the labels show ("認識NG" where nothing was read).
RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternSet& patterns, int lag, bool debugMode,
                                  const RecognitionHooks& hooks = {});

// The same with the patterns already prepared: a caller that recognises
// often may keep a PatternMatcher (recognition/pattern_matcher.h) for as long as
// its PatternSet stays unchanged and save the preparation on every call.
RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternMatcher& matcher, int lag, bool debugMode,
                                  const RecognitionHooks& hooks = {});
