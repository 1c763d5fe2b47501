#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// A periodic timer whose callback runs on a thread of its own. The callback must
// do no more than post a message.
namespace nbase {

class MultimediaTimer {
 public:
  // Starts at once; the first call comes one period after construction.
  MultimediaTimer(uint32_t period_ms, std::function<void()> callback);
  // Stops the timer; no callback runs once this returns.
  ~MultimediaTimer();
  MultimediaTimer(const MultimediaTimer&) = delete;
  MultimediaTimer& operator=(const MultimediaTimer&) = delete;

  uint32_t period_ms() const { return period_ms_; }

 private:
  const uint32_t period_ms_;
  std::function<void()> callback_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace nbase
