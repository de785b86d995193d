#pragma once
// The lag the recognition waits at each column: the options dialog offers
// this range, and the file may hold any number (and keeps it); a wait
// never lasts longer, nor less, than the range allows.

#include <algorithm>
#include <cstdint>

inline constexpr int kLagMin = 0;
inline constexpr int kLagMax = 100;

inline int LagToWait(std::int32_t lag) { return std::clamp<std::int32_t>(lag, kLagMin, kLagMax); }
