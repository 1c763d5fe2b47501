#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

// A queue of keyed completion packets with a timed dequeue: what an I/O thread
// waits on.
namespace nbase {

struct CompletionPacket {
  uintptr_t key = 0;
  uint32_t bytes = 0;
  void* context = nullptr;  // the operation record (IOContext) or any tag
  uint32_t error = 0;       // 0 for success
};

class CompletionPort {
 public:
  // Any thread.
  void Post(const CompletionPacket& packet);
  // Waits up to timeout_ms (0xFFFFFFFF: no limit); false on time-out.
  bool Dequeue(uint32_t timeout_ms, CompletionPacket* packet);

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<CompletionPacket> packets_;
};

}  // namespace nbase
