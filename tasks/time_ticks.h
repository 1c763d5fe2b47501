#pragma once

#include <cstdint>

// Ticks: signed 64-bit microseconds read from the millisecond clock and extended
// over its 32-bit wrap-arounds. 0 stands for "no time".
namespace nbase {

class TimeTicks {
 public:
  // Any thread; takes the clock's lock to carry the wrap-around count.
  static int64_t Now();
};

}  // namespace nbase
