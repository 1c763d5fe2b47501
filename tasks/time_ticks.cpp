#include "tasks/time_ticks.h"

#include <mutex>

#include "platform/clock.h"

namespace nbase {

int64_t TimeTicks::Now() {
  static std::mutex lock;
  static uint32_t last = 0;
  static int64_t rollovers = 0;
  uint32_t now = platform::TickCount();
  std::lock_guard guard(lock);
  if (now < last) ++rollovers;
  last = now;
  return ((rollovers << 32) + now) * 1000;
}

}  // namespace nbase
