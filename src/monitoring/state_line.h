#pragma once
// The line that always says what the program is doing: stopped, watching
// (with the time to the next capture), waiting for the game to come to the
// front (and for how long), the game not found, or a manual command's
// countdown. Pure: times are milliseconds of the monotonic clock, so a wall
// clock that jumps never shows a wrong countdown.

#include <QString>
#include <cstdint>
#include <optional>

#include "capture/game_sight.h"
#include "capture/grab_check.h"

// What the last look at the game window found. InFront: it may be read
// (in front, or behind other windows with both areas in sight).
enum class GameSeen { Unknown, Missing, Behind, InFront };

struct StateLineInput {
  std::int64_t nowMs = 0;
  bool monitoring = false;
  GameSeen game = GameSeen::Unknown;
  std::optional<std::int64_t> behindSinceMs;  // when the game was first seen behind another window
  std::optional<AreasSeen> hidden;             // why a game behind cannot be read, when that is known
  GrabTrouble grabTrouble = GrabTrouble::None;  // the grabs show no game
  std::int64_t nextCaptureMs = 0;
  // A manual command waiting before it acts: its name and when the wait ends.
  QString manualCommand;
  std::optional<std::int64_t> manualWaitEndMs;
  // Why monitoring stopped when the program stopped it, not the player.
  QString stoppedBecause;
  // What became of the last manual command, while it is news.
  QString manualOutcome;
  // The game is gone and the measurement waits for it until then.
  std::optional<std::int64_t> gameWaitEndMs;
  // Why the last timed reading failed, while it is the last.
  QString readingFailure;
};

QString StateLineText(const StateLineInput& input);

// Whether that text ends with why the last reading failed.
bool StateLineTellsReadingFailure(const StateLineInput& input);

// "mm:ss" of a span, minutes not wrapped at the hour; negative spans are 0.
QString MinutesSecondsText(std::int64_t seconds);
