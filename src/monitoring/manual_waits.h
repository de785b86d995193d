#pragma once
// The manual commands that wait before they act (キャプチャ and
// プリントスクリーン give the player time to bring the game forward): each
// has its countdown and its own timer, several may run at once, and the
// latest started is the one the state line counts down.

#include <QString>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>

#include "capture/clock.h"

class ManualWaits {
 public:
  struct Countdown {
    QString command;
    std::int64_t endMs = 0;  // monotonic
    std::unique_ptr<ClockTimer> timer;
  };

  explicit ManualWaits(Clock& clock) : clock_(clock) {}

  // `then` runs `ms` from now, once its countdown has gone, unless EndAll
  // came first.
  void Start(const QString& command, std::int64_t ms, std::function<void()> then);
  void EndAll() { waits_.clear(); }
  bool Any() const { return !waits_.empty(); }
  const Countdown* Latest() const { return waits_.empty() ? nullptr : &waits_.back(); }
  // Whole seconds left of the latest wait of `command` (rounded up).
  std::optional<int> SecondsLeft(const QString& command) const;

 private:
  Clock& clock_;
  std::list<Countdown> waits_;
};
