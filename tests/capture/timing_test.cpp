// The wait loop against a scripted tick count, and the real clock.
#include "capture/timing.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>

#include "support/fakes.h"

namespace {

constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;

TEST(TickCount, WaitsLastTheRequestedTimeAndOneMoreAcrossTheWrap) {
  // {start, wait, steps}: a zero or negative wait still steps once; a wait
  // across the wrap neither ends at once nor lasts 49 days.
  const std::tuple<std::uint64_t, double, int> cases[] = {
      {7000, 250, 250}, {7000, 0, 1}, {7000, -5, 1}, {kWrap - 1, 100, 101}, {kWrap - 500, 100, 100}};
  for (const auto& [start, ms, steps] : cases) {
    SCOPED_TRACE(testing::Message() << start << " wait " << ms);
    std::uint64_t now = start;
    // The tick source moves 1 ms per step and wraps at 2^32 as the real one does.
    WaitLoop(ms, [&] { return static_cast<double>(static_cast<std::uint32_t>(now)); }, [&] { ++now; });
    EXPECT_EQ(static_cast<int>(now - start), steps);
  }
  EXPECT_EQ(FakeClock({}, 3'000'000'000).TickCountUnsigned(), 3000000000.0);
  EXPECT_EQ(FakeClock({}, kWrap + 1234).TickCountUnsigned(), 1234.0);
}

TEST(TickCount, AWaitEndsAfterTheStepInWhichTheProgramBeganToEnd) {
  // {wait, step that ends the program (0: before the wait), steps run}
  const std::tuple<double, int, int> cases[] = {{2147483647.0, 3, 3}, {1e300, 1, 1}, {50, 0, 0}, {5, 100, 5}};
  for (const auto& [ms, endingStep, steps] : cases) {
    SCOPED_TRACE(testing::Message() << ms << " ending at " << endingStep);
    std::uint64_t now = 0;
    int ran = 0;
    WaitLoop(
        ms, [&] { return static_cast<double>(now); }, [&] { ++now, ++ran; },
        [&, end = endingStep] { return ran >= end; });
    EXPECT_EQ(ran, steps);
  }
}

TEST(SystemClock, WaitsTheRequestedTimeAZeroWaitStillRunsEventsAndAWaitOfDaysEndsWhenTheProgramEnds) {
  QElapsedTimer timer;
  timer.start();
  SystemClock clock;
  clock.WaitMs(30);
  EXPECT_GE(timer.elapsed(), 29);  // the tick count may move just after the start
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  clock.WaitMs(0);
  EXPECT_TRUE(ran);

  QTimer::singleShot(0, [&] { clock.EndWaits(); });
  clock.WaitMs(2147483647.0);
  ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  clock.WaitMs(1000000);  // returns at once: the program is ending
  EXPECT_FALSE(ran);
}

}  // namespace
