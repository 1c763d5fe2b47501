#pragma once

#include <cstdint>

// A signed span of time in microseconds.
namespace nbase {

class TimeDelta {
 public:
  constexpr TimeDelta() = default;

  static constexpr TimeDelta FromMicroseconds(int64_t us) { return TimeDelta(us); }
  static constexpr TimeDelta FromMilliseconds(int64_t ms) { return TimeDelta(ms * 1000); }
  static constexpr TimeDelta FromSeconds(int64_t s) { return TimeDelta(s * 1000000); }

  constexpr int64_t ToMicroseconds() const { return us_; }
  constexpr int64_t ToMilliseconds() const { return us_ / 1000; }
  // Whole milliseconds, any remainder counted as one more.
  constexpr int64_t ToMillisecondsRoundedUp() const { return us_ > 0 ? (us_ + 999) / 1000 : us_ / 1000; }

  constexpr TimeDelta operator+(TimeDelta o) const { return TimeDelta(us_ + o.us_); }
  constexpr TimeDelta operator-(TimeDelta o) const { return TimeDelta(us_ - o.us_); }
  constexpr auto operator<=>(const TimeDelta&) const = default;

 private:
  constexpr explicit TimeDelta(int64_t us) : us_(us) {}

  int64_t us_ = 0;
};

}  // namespace nbase
