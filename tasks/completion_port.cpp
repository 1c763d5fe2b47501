#include "tasks/completion_port.h"

#include <chrono>

namespace nbase {

// Notifies under the lock so a consumer that returns may destroy the port.
void CompletionPort::Post(const CompletionPacket& packet) {
  std::lock_guard lock(mutex_);
  packets_.push_back(packet);
  cv_.notify_one();
}

bool CompletionPort::Dequeue(uint32_t timeout_ms, CompletionPacket* packet) {
  std::unique_lock lock(mutex_);
  auto ready = [this] { return !packets_.empty(); };
  if (timeout_ms == 0xFFFFFFFF) {
    cv_.wait(lock, ready);
  } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready)) {
    return false;
  }
  *packet = packets_.front();
  packets_.pop_front();
  return true;
}

}  // namespace nbase
