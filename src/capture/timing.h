#pragma once
// The real clock: the wall clock, the monotonic count and Qt's timers.

#include "capture/clock.h"

class SystemClock : public Clock {
 public:
  QDateTime Now() const override;
  std::int64_t MonotonicMs() const override;
  std::unique_ptr<ClockTimer> After(std::int64_t ms, std::function<void()> done) override;
};
