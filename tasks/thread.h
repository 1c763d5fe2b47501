#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

// An operating-system thread running the object's Run.
namespace nbase {

class Thread {
 public:
  Thread() = default;
  // Joins the thread if one was created and not yet joined.
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts the thread at once; false (and no thread) when the system refuses one.
  bool Create();
  // Waits without time-out for the thread to end; nothing when there is none.
  void Close();

  // 0 or negative: default; 1 lowest; 2 below normal; 3 highest; 4 time critical;
  // above 4 below normal. Threads here keep the default priority: the portable
  // thread layer has no priorities, so the value is only kept.
  void set_priority(int priority) { priority_ = priority; }
  int priority() const { return priority_; }
  // A small process-unique id of the running thread; 0 when none.
  uint32_t thread_id() const { return thread_id_.load(std::memory_order_acquire); }
  bool has_handle() const { return handle_.joinable(); }

  // The calling thread's process-unique id (never 0).
  static uint32_t CurrentThreadId();

 protected:
  virtual void Run() {}

  std::atomic<uint32_t> thread_id_{0};

 private:
  std::thread handle_;
  int priority_ = 0;
};

}  // namespace nbase
