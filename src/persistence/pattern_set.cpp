#include "persistence/pattern_set.h"

#include <algorithm>

AreaOrigins OriginsOf(const PatternImages& images, int area) {
  AreaOrigins origins{};
  for (int i = 0; i < kSlotsPerArea; ++i) {
    origins[static_cast<std::size_t>(i)] = images.origins[static_cast<std::size_t>(SlotOf(area, i))];
  }
  return origins;
}

void StoreOrigins(PatternImages& images, int area, const AreaOrigins& origins) {
  for (int i = 0; i < kSlotsPerArea; ++i) {
    images.origins[static_cast<std::size_t>(SlotOf(area, i))] = origins[static_cast<std::size_t>(i)];
  }
}

bool TaughtFromCaptures(const AreaOrigins& origins) {
  return std::find(origins.begin(), origins.end(), PatternOrigin::Captured) != origins.end();
}

bool TakesPart(const AreaOrigins& origins, int index) {
  return origins[static_cast<std::size_t>(index)] != PatternOrigin::Delivered || !TaughtFromCaptures(origins);
}
