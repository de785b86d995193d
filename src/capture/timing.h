#pragma once
// The real clock and the wait loop.

#include <functional>

#include "capture/clock.h"

// The wait as the classic tick count requires it: `tick` is the unsigned
// 32-bit tick count, `step` sleeps 1 ms and processes events. A wait across
// the wrap of the tick count lasts the requested time plus 1 ms. The wait
// ends early, after the step in which `stop` (when given) becomes true.
void WaitLoop(double ms, const std::function<double()>& tick, const std::function<void()>& step,
              const std::function<bool()>& stop = {});

class SystemClock : public Clock {
 public:
  QDateTime Now() const override;
  std::int64_t MonotonicMs() const override;
  void WaitMs(double ms) override;  // 1 ms sleeps + QCoreApplication::processEvents
  void EndWaits() override { ending_ = true; }

 private:
  bool ending_ = false;
};
