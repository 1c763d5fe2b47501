#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/messages/window_messages.h"

// The message queue of one thread, behind the free functions of window_messages.h.
namespace platform {

class ThreadMessageQueue {
 public:
  // The calling thread's queue, created on first use and closed when the thread ends.
  static const std::shared_ptr<ThreadMessageQueue>& Current();

  ThreadMessageQueue();
  ~ThreadMessageQueue();
  ThreadMessageQueue(const ThreadMessageQueue&) = delete;
  ThreadMessageQueue& operator=(const ThreadMessageQueue&) = delete;

  // Any thread. False once the owner thread has ended.
  bool Post(const Message& message);
  // Any thread but the owner: blocks until the owner has handled the message.
  LResult SendFromOtherThread(const Message& message);
  void SetTimer(WindowHandle window, uintptr_t id, uint32_t elapse_ms);
  bool KillTimer(WindowHandle window, uintptr_t id);
  void Invalidate(WindowHandle window, const Rect& rect);
  void Validate(WindowHandle window, const Rect* rect);
  bool UpdateRect(WindowHandle window, Rect* rect);
  // Forgets everything queued for the window (its destruction).
  void DropWindow(WindowHandle window);

  // Owner thread only.
  void PostQuit(int exit_code);
  bool Peek(Message* message, WindowHandle window, uint32_t filter_min, uint32_t filter_max, bool remove);
  uint32_t Status(uint32_t flags);
  WaitResult Wait(uint32_t timeout_ms, uint32_t wake_mask, uint32_t flags);
  int AddHook(MessageHook hook);
  bool RemoveHook(int hook_id);
  bool CallHooks(Message* message, int code);
  void SetNativeSource(int fd, NativeDrain drain, void* context);
  void DispatchSentMessages();
  // When the owner thread ends: pending senders get 0, later posts fail.
  void Close();

 private:
  struct Sent {
    Message message;
    LResult result = 0;
    bool done = false;
  };
  struct Timer {
    WindowHandle window = 0;
    uintptr_t id = 0;
    int64_t period_ns = 0;
    int64_t due_ns = 0;
    bool reported = false;  // its due state already counted as new input
  };

  void DrainNative();
  // With mutex_ held.
  void WakeLocked();
  uint32_t CurrentBitsLocked(int64_t now_ns);

  // Kinds of posted message, in the queue-status bits they raise.
  static uint32_t KindBits(uint32_t message);

  std::mutex mutex_;
  std::condition_variable sent_done_;
  std::deque<Message> posted_;
  uint32_t posted_counts_[4] = {0, 0, 0, 0};  // key, mouse move, mouse button, other
  std::deque<std::shared_ptr<Sent>> sent_;
  std::vector<Timer> timers_;
  std::map<WindowHandle, Rect> update_;
  bool quit_pending_ = false;
  int quit_code_ = 0;
  uint32_t changed_bits_ = 0;
  bool waiting_ = false;
  bool signalled_ = false;
  bool closed_ = false;
  int wake_fd_ = -1;

  // Owner thread only.
  std::vector<std::pair<int, MessageHook>> hooks_;
  int next_hook_id_ = 1;
  int native_fd_ = -1;
  NativeDrain native_drain_ = nullptr;
  void* native_context_ = nullptr;
  bool draining_ = false;
};

}  // namespace platform
