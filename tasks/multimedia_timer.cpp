#include "tasks/multimedia_timer.h"

#include <chrono>

namespace nbase {

MultimediaTimer::MultimediaTimer(uint32_t period_ms, std::function<void()> callback)
    : period_ms_(period_ms), callback_(std::move(callback)), thread_([this] {
        const auto period = std::chrono::milliseconds(period_ms_);
        auto next = std::chrono::steady_clock::now() + period;
        std::unique_lock lock(mutex_);
        while (!cv_.wait_until(lock, next, [this] { return stop_; })) {
          callback_();
          // Periodic, not drifting: a late tick does not push back the next ones,
          // but ticks missed entirely are skipped rather than fired in a burst.
          next += period;
          auto now = std::chrono::steady_clock::now();
          if (next < now) next = now + period;
        }
      }) {}

MultimediaTimer::~MultimediaTimer() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

}  // namespace nbase
