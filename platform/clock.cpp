#include "platform/clock.h"

#include <time.h>

namespace platform {

namespace {

timespec Read(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return ts;
}

}  // namespace

uint32_t TickCount() {
  timespec ts = Read(CLOCK_MONOTONIC);
  uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u +
                static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

int64_t PerformanceCounterNanos() {
  timespec ts = Read(CLOCK_MONOTONIC);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

int64_t SystemTime100ns() {
  timespec ts = Read(CLOCK_REALTIME);
  return static_cast<int64_t>(ts.tv_sec) * 10000000LL + ts.tv_nsec / 100 +
         kEpochDelta100ns;
}

}  // namespace platform
