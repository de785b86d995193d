#include "capture/timing.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <ctime>

namespace {
constexpr double kTickMax = 4294967295.0;
}

void WaitLoop(double ms, const std::function<double()>& tick, const std::function<void()>& step,
              const std::function<bool()>& stop) {
  double start = tick();
  do {
    if (stop && stop()) return;
    if (tick() - start < 0) {
      // The tick count wrapped since the start: count what passed before the
      // wrap against the wait and measure the rest from zero.
      ms -= kTickMax - start;
      start = 0;
    }
    step();
  } while (tick() - start < ms);
}

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

void SystemClock::WaitMs(double ms) {
  WaitLoop(
      ms, [this] { return TickCountUnsigned(); },
      [] {
        QThread::msleep(1);
        if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
      },
      [this] { return ending_; });
}
