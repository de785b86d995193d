#pragma once
// Cumulative experience per level: slot n is the experience from the start
// of level 1 to the start of level n + 1. Values exceed 32 bits from slot 145.

#include <array>
#include <cstdint>
#include <optional>

inline constexpr int kExpTableSlots = 201;  // slot 200 is never filled

// The table as start-up builds it (slots 0 … 199 filled, slot 200 empty).
const std::array<std::optional<std::int64_t>, kExpTableSlots>& BuildExpTable();

// Total experience since level 1 for a level of 1 … 199; nothing otherwise.
std::optional<double> TotalExp(std::int32_t level, double exp);
