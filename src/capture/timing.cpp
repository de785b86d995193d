#include "capture/timing.h"

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>

namespace {

// One single-shot Qt timer; the timer dies with it, and with it the call.
class QtClockTimer : public ClockTimer {
 public:
  QtClockTimer(std::int64_t ms, std::function<void()> done) {
    timer_.setSingleShot(true);
    // A coarse timer may fire 5 % early; a lag or a countdown must not.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [call = std::move(done)] { call(); });
    timer_.start(std::chrono::milliseconds(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max())));
  }

 private:
  QTimer timer_;
};

}  // namespace

QDateTime SystemClock::Now() const { return QDateTime::currentDateTime(); }

std::int64_t SystemClock::MonotonicMs() const {
#ifdef _WIN32
  // The performance counter behind steady_clock counts from system start.
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
#else
  timespec ts{};
  // Boot time keeps counting during suspend, like the system's uptime.
  if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0 && clock_gettime(CLOCK_MONOTONIC, &ts) != 0) return 0;
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
#endif
}

std::unique_ptr<ClockTimer> SystemClock::After(std::int64_t ms, std::function<void()> done) {
  return std::make_unique<QtClockTimer>(ms, std::move(done));
}
