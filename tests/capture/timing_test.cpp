// The wait loop against a scripted tick count, and the real clock.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <gtest/gtest.h>

#include "capture/timing.h"

namespace {

// A tick count that moves 1 ms per step, wrapping at 2^32 as the real one does.
struct ScriptedTicks {
  std::uint64_t now;
  int steps = 0;
  double Tick() const { return static_cast<double>(static_cast<std::uint32_t>(now)); }
  void Step() {
    ++steps;
    ++now;
  }
  void Wait(double ms) {
    WaitLoop(ms, [this] { return Tick(); }, [this] { Step(); });
  }
};

TEST(WaitLoop, EndsAfterTheRequestedTimeAwayFromTheWrap) {
  ScriptedTicks t{1'000'000};
  t.Wait(250);
  EXPECT_EQ(t.steps, 250);
}

TEST(WaitLoop, ZeroAndNegativeWaitsStepExactlyOnce) {
  for (const double ms : {0.0, -5.0}) {
    ScriptedTicks t{1'000'000};
    t.Wait(ms);
    EXPECT_EQ(t.steps, 1) << ms;
  }
}

TEST(WaitLoop, AWaitAcrossTheWrapLastsOneMillisecondLonger) {
  // Starts 5 ms before the count wraps to 0.
  for (const std::uint64_t before : {1u, 5u, 100u}) {
    ScriptedTicks t{(std::uint64_t{1} << 32) - before};
    t.Wait(100);
    EXPECT_EQ(t.steps, 101) << before << " ms before the wrap";  // neither at once nor after 49 days
  }
}

TEST(WaitLoop, AWaitShorterThanTheTimeToTheWrapIsNotStretched) {
  ScriptedTicks t{(std::uint64_t{1} << 32) - 500};
  t.Wait(100);
  EXPECT_EQ(t.steps, 100);
}

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::int64_t ms) : ms_(ms) {}
  QDateTime Now() const override { return {}; }
  std::int64_t MonotonicMs() const override { return ms_; }
  void WaitMs(double) override {}

 private:
  std::int64_t ms_;
};

TEST(TickCountUnsigned, IsTheUnsignedLow32BitsOfTheMonotonicCount) {
  EXPECT_EQ(FixedClock(3'000'000'000).TickCountUnsigned(), 3000000000.0);
  EXPECT_EQ(FixedClock(4'294'967'295).TickCountUnsigned(), 4294967295.0);
  EXPECT_EQ(FixedClock(4'294'967'296).TickCountUnsigned(), 0.0);
  EXPECT_EQ(FixedClock(4'294'967'296 + 1234).TickCountUnsigned(), 1234.0);
}

TEST(SystemClock, MonotonicCountNeverGoesBack) {
  SystemClock clock;
  const std::int64_t first = clock.MonotonicMs();
  EXPECT_GT(first, 0);
  EXPECT_GE(clock.MonotonicMs(), first);
}

TEST(SystemClock, WaitTakesAtLeastTheRequestedTime) {
  SystemClock clock;
  QElapsedTimer timer;
  timer.start();
  clock.WaitMs(30);
  EXPECT_GE(timer.elapsed(), 29);  // the tick count may move just after the start
}

TEST(SystemClock, EvenAZeroWaitRunsPendingEvents) {
  SystemClock clock;
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  clock.WaitMs(0);
  EXPECT_TRUE(ran);
}

}  // namespace
