#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace platform {
namespace {

TEST(ClockTest, TickAndCounterAdvanceTogether) {
  uint32_t tick0 = TickCount();
  int64_t counter0 = PerformanceCounterNanos();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  uint32_t elapsed_ms = TickCount() - tick0;  // unsigned: correct across a wrap
  int64_t elapsed_ns = PerformanceCounterNanos() - counter0;
  EXPECT_GE(elapsed_ms, 29u);
  EXPECT_GE(elapsed_ns, 30'000'000);
  // Both read the same monotonic clock.
  EXPECT_NEAR(static_cast<double>(elapsed_ms), elapsed_ns / 1e6, 5.0);
}

TEST(ClockTest, TickDifferenceSurvivesWrap) {
  uint32_t before = 0xFFFFFFF0u;
  uint32_t after = 0x00000010u;
  EXPECT_EQ(after - before, 0x20u);
}

TEST(ClockTest, SystemTimeCountsFrom1601) {
  auto unix_now = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  int64_t expected = unix_now * 10 + kEpochDelta100ns;
  int64_t got = SystemTime100ns();
  EXPECT_NEAR(static_cast<double>(got), static_cast<double>(expected), 1e7);  // within 1 s
  // 2020-01-01 00:00 UTC is 132223104000000000 in these units.
  EXPECT_GT(got, 132223104000000000LL);
}

}  // namespace
}  // namespace platform
