#pragma once
// Time as the program sees it. Injected everywhere so that tests can move
// time forward without waiting.

#include <QDateTime>
#include <cstdint>
#include <functional>
#include <memory>

// A wait under way on a clock. Destroying it before it runs out cancels it.
class ClockTimer {
 public:
  virtual ~ClockTimer() = default;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Local wall-clock time (log stamps, due times, trace lines).
  virtual QDateTime Now() const = 0;

  // Milliseconds since system start from a monotonic clock that never wraps.
  virtual std::int64_t MonotonicMs() const = 0;

  // The same count as an unsigned 32-bit value (0 … 4294967295) in a
  // double: it wraps after about 49.7 days, as the classic tick count does.
  double TickCountUnsigned() const {
    return static_cast<double>(static_cast<std::uint32_t>(MonotonicMs() & 0xFFFFFFFF));
  }

  // Calls `done` once, `ms` milliseconds from now (a wait of 0 or less: as
  // soon as the events before it are handled), from the event loop and never
  // inside the caller. Nothing waits in a loop of its own, so the windows stay
  // live and no handler ever runs inside another one's wait.
  [[nodiscard]] virtual std::unique_ptr<ClockTimer> After(std::int64_t ms, std::function<void()> done) = 0;
};
