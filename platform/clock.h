#pragma once

#include <cstdint>

// The three clocks of the system.
namespace platform {

// Milliseconds since an unspecified start on the monotonic clock, as a 32-bit
// count that wraps around after about 49.7 days. Subtract two ticks as
// uint32_t to get the elapsed time across a wrap.
uint32_t TickCount();

// Nanoseconds on the monotonic clock (the performance counter); never wraps.
int64_t PerformanceCounterNanos();

// Wall-clock time in 100 ns units since 1601-01-01 00:00 UTC.
int64_t SystemTime100ns();

// Number of 100 ns units between 1601-01-01 and 1970-01-01.
inline constexpr int64_t kEpochDelta100ns = 116444736000000000LL;

}  // namespace platform
