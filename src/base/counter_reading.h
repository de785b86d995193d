#pragma once
// What counts as a reading of the game's two counters, for recognition,
// evaluation, the misread guard's caller and the live readings alike.
//
// Recognition gives 0 for an area it could not read, and digits that read
// as 0 fail too: a level or an experience of 0 is no reading. The game does
// show an experience of 0 just after a level-up, but the log has always
// written such a capture as "ExpNG" (stored logs and the history read it so),
// and the counter has moved by the next capture.

#include <cmath>
#include <cstdint>

constexpr bool LevelRead(std::int32_t level) { return level != 0; }

// Not a finite number cannot have come from the digits on screen either.
inline bool ExpRead(double exp) { return exp != 0 && std::isfinite(exp); }

inline bool IsReading(std::int32_t level, double exp) { return LevelRead(level) && ExpRead(exp); }

// What the counters can show at all: a level from 1 and a finite experience
// from 0. The live session's model takes any such pair: it hears only
// readings, but works on the game's own figures, where 0 is real.
inline bool CounterValues(std::int32_t level, double exp) { return level > 0 && std::isfinite(exp) && exp >= 0; }
