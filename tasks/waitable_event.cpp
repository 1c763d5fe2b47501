#include "tasks/waitable_event.h"

#include <chrono>

namespace nbase {

// Notifies while holding the lock: a waiter that returns may destroy the event
// at once, so the signalling thread must be done with it before the waiter
// can take the lock back.
void WaitableEvent::Signal() {
  std::lock_guard lock(mutex_);
  if (signalled_) return;
  signalled_ = true;
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
