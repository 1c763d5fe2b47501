#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// An auto-reset event: one Wait consumes one Signal.
namespace nbase {

class WaitableEvent {
 public:
  void Signal();
  void Wait();
  // False when the time ran out without a signal.
  bool TimedWait(int64_t milliseconds);

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_ = false;
};

}  // namespace nbase
