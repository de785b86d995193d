#pragma once
// Time as the program sees it. Injected everywhere so that tests can move
// time forward without waiting.

#include <QDateTime>
#include <cstdint>

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

  // Waits at least ms milliseconds in 1 ms steps, processing the program's
  // pending window events after every step, so the user interface stays live
  // (timer ticks, menus and dialogs may run inside the wait). WaitMs(0)
  // still sleeps once and processes events once.
  virtual void WaitMs(double ms) = 0;

  // The program is ending: every wait under way returns at once, and so does
  // every later one, so no handler can keep an invisible program (and its
  // single-instance lock) alive, whatever time it asked for.
  virtual void EndWaits() {}
};
