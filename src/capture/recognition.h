#pragma once
// Reading digit strings out of captured pixels by comparing them with the
// reference patterns. Pure: works on pixel grids and the pattern set; the
// lag wait and the debug preview are hooks the main window supplies.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "capture/pixel_grid.h"
#include "persistence/pattern_set.h"

inline constexpr int kMatchThreshold = 9750;  // a score must be above this

// Score of pattern `p` against the capture at column X (row 0): 0 … 10000.
int MatchScore(const Pattern& p, const PixelGrid& capture, int x);

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
  QString trace;                          // the report (written only in debug mode)
};

// Both areas, area 0 first. `regionWidths` are the regions' `ex`; `lag` the
// lag time in milliseconds (0 or less: no waits).
RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternSet& patterns, int lag, bool debugMode,
                                  const RecognitionHooks& hooks = {});
