#include "tasks/waitable_event.h"

#include <chrono>

namespace nbase {

void WaitableEvent::Signal() {
  {
    std::lock_guard lock(mutex_);
    if (signalled_) return;
    signalled_ = true;
  }
  cv_.notify_one();
}

void WaitableEvent::Wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return signalled_; });
  signalled_ = false;
}

bool WaitableEvent::TimedWait(int64_t milliseconds) {
  std::unique_lock lock(mutex_);
  if (!cv_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return signalled_; })) return false;
  signalled_ = false;
  return true;
}

}  // namespace nbase
