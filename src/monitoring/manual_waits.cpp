#include "monitoring/manual_waits.h"

#include <algorithm>

void ManualWaits::Start(const QString& command, std::int64_t ms, std::function<void()> then) {
  waits_.push_back({command, clock_.MonotonicMs() + ms, nullptr});
  const auto own = std::prev(waits_.end());
  own->timer = clock_.After(ms, [this, own, then = std::move(then)] {
    waits_.erase(own);
    then();
  });
}

std::optional<int> ManualWaits::SecondsLeft(const QString& command) const {
  const auto wait =
      std::find_if(waits_.rbegin(), waits_.rend(), [&](const Countdown& w) { return w.command == command; });
  if (wait == waits_.rend()) return std::nullopt;
  const std::int64_t ms = std::max<std::int64_t>(0, wait->endMs - clock_.MonotonicMs());
  return static_cast<int>((ms + 999) / 1000);
}
