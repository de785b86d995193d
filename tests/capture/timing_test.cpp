// The tick count's wrap, and the real clock's timers.
#include "capture/timing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdint>

#include "support/fakes.h"

namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;

TEST(TickCount, IsTheMonotonicCountWrappedAt32Bits) {
  EXPECT_EQ(FakeClock({}, 3'000'000'000).TickCountUnsigned(), 3000000000.0);
  EXPECT_EQ(FakeClock({}, kWrap + 1234).TickCountUnsigned(), 1234.0);
}

// The cycle's waits are these timers: one must never run inside the code
// that starts it, never before its time, and never once it was dropped, even
// when its own call drops it.
TEST(SystemClock, ATimerRunsOnceFromTheEventLoopAfterItsTimeAndNotAfterItWasDropped) {
  SystemClock clock;
  QEventLoop loop;
  QElapsedTimer elapsed;
  elapsed.start();
  int ran = 0;
  int dropped = 0;
  std::unique_ptr<ClockTimer> timer = clock.After(30, [&] {
    ++ran;
    timer.reset();  // as a wait that ends drops its own timer
    loop.quit();
  });
  std::unique_ptr<ClockTimer> other = clock.After(0, [&] { ++dropped; });
  EXPECT_EQ(ran + dropped, 0) << "not inside the caller, even at 0 ms";
  other.reset();
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);  // a timer that never runs fails, it does not hang
  loop.exec();
  EXPECT_EQ(std::tuple(ran, dropped), std::tuple(1, 0));
  EXPECT_GE(elapsed.elapsed(), 29);
  QCoreApplication::processEvents();
  EXPECT_EQ(ran, 1);
}

}  // namespace
