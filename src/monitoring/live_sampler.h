#pragma once
// A look at the game between the timed captures: is it there, is it in
// front, and (when asked) what its counters read. Nothing else happens: no
// beep, no lag wait, no caption, no picture kept, no trace.

#include <array>
#include <cstdint>
#include <optional>

#include "capture/window_system.h"
#include "monitoring/game_look.h"
#include "monitoring/state_line.h"
#include "persistence/settings.h"

class PatternMatcher;

struct LiveReading {
  std::int32_t level = 0;
  double exp = 0;
  QString expText;  // what the experience area read
};

struct LiveObservation {
  GameSeen game = GameSeen::Unknown;
  std::optional<LiveReading> reading;  // only a reading of both counters
  std::array<bool, 2> unread{};        // the areas that were read and read 認識NG
};

// What `view` saw; when the game may be read and `matcher` is given, both
// areas grabbed where the view found them, and recognised.
LiveObservation ObserveGame(WindowSystem& windows, const GameView& view, const Settings& settings,
                            const PatternMatcher* matcher);
