#include "platform/messages/thread_message_queue.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/clock.h"
#include "platform/messages/window_table.h"

namespace platform {
namespace {

constexpr int64_t kNanosPerMilli = 1000000;

bool InRange(uint32_t message, uint32_t filter_min, uint32_t filter_max) {
  if (filter_min == 0 && filter_max == 0) return true;
  return message >= filter_min && message <= filter_max;
}

// Slot of posted_counts_ for a message.
int KindSlot(uint32_t message) {
  if (message >= kKeyDown && message <= kKeyLast) return 0;
  if (message == kMouseMove) return 1;
  if (message > kMouseMove && message <= kMouseLast) return 2;
  return 3;
}

constexpr uint32_t kSlotBits[4] = {kQsKey, kQsMouseMove, kQsMouseButton, kQsPostMessage | kQsAllPostMessage};

// Closes the calling thread's queue when the thread ends.
struct QueueHolder {
  std::shared_ptr<ThreadMessageQueue> queue = std::make_shared<ThreadMessageQueue>();
  ~QueueHolder() {
    queue->Close();
    WindowTable::Get().RemoveAllOf(queue.get());
  }
};

}  // namespace

const std::shared_ptr<ThreadMessageQueue>& ThreadMessageQueue::Current() {
  static thread_local QueueHolder holder;
  return holder.queue;
}

ThreadMessageQueue::ThreadMessageQueue() : wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ThreadMessageQueue::~ThreadMessageQueue() {
  if (wake_fd_ >= 0) close(wake_fd_);
}

uint32_t ThreadMessageQueue::KindBits(uint32_t message) { return kSlotBits[KindSlot(message)]; }

void ThreadMessageQueue::WakeLocked() {
  if (!waiting_ || signalled_) return;
  signalled_ = true;
  uint64_t one = 1;
  // A full counter still leaves the descriptor readable, which is all a wake needs.
  [[maybe_unused]] ssize_t n = write(wake_fd_, &one, sizeof one);
}

bool ThreadMessageQueue::Post(const Message& message) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  posted_.push_back(message);
  int slot = KindSlot(message.message);
  ++posted_counts_[slot];
  changed_bits_ |= kSlotBits[slot];
  WakeLocked();
  return true;
}

LResult ThreadMessageQueue::SendFromOtherThread(const Message& message) {
  auto sent = std::make_shared<Sent>();
  sent->message = message;
  std::unique_lock lock(mutex_);
  if (closed_) return 0;
  sent_.push_back(sent);
  changed_bits_ |= kQsSendMessage;
  WakeLocked();
  sent_done_.wait(lock, [&] { return sent->done; });
  return sent->result;
}

void ThreadMessageQueue::DispatchSentMessages() {
  for (;;) {
    std::shared_ptr<Sent> sent;
    {
      std::lock_guard lock(mutex_);
      if (sent_.empty()) return;
      sent = std::move(sent_.front());
      sent_.pop_front();
    }
    WindowTable::Entry entry;
    LResult result = 0;
    if (WindowTable::Get().Find(sent->message.window, &entry) && entry.procedure) {
      result = entry.procedure(sent->message.window, sent->message.message, sent->message.wparam,
                               sent->message.lparam);
    }
    std::lock_guard lock(mutex_);
    sent->result = result;
    sent->done = true;
    sent_done_.notify_all();
  }
}

void ThreadMessageQueue::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  for (auto& sent : sent_) sent->done = true;
  sent_.clear();
  posted_.clear();
  timers_.clear();
  update_.clear();
  sent_done_.notify_all();
}

void ThreadMessageQueue::SetTimer(WindowHandle window, uintptr_t id, uint32_t elapse_ms) {
  int64_t period = std::max<int64_t>(elapse_ms, 1) * kNanosPerMilli;
  int64_t due = PerformanceCounterNanos() + period;
  std::lock_guard lock(mutex_);
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == timers_.end()) {
    timers_.push_back(Timer{window, id, period, due, false});
  } else {
    *it = Timer{window, id, period, due, false};
  }
  // The owner may be blocked with a longer time-out than this timer allows.
  WakeLocked();
}

bool ThreadMessageQueue::KillTimer(WindowHandle window, uintptr_t id) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void ThreadMessageQueue::Invalidate(WindowHandle window, const Rect& rect) {
  if (rect.IsEmpty()) return;
  std::lock_guard lock(mutex_);
  Rect& region = update_[window];
  region = region.Union(rect);
  changed_bits_ |= kQsPaint;
  WakeLocked();
}

void ThreadMessageQueue::Validate(WindowHandle window, const Rect* rect) {
  std::lock_guard lock(mutex_);
  auto it = update_.find(window);
  if (it == update_.end()) return;
  // The region is kept as one bounding rectangle: it only shrinks when fully covered.
  if (!rect || it->second.Intersect(*rect) == it->second) update_.erase(it);
}

bool ThreadMessageQueue::UpdateRect(WindowHandle window, Rect* rect) {
  std::lock_guard lock(mutex_);
  auto it = update_.find(window);
  if (it == update_.end()) {
    if (rect) *rect = Rect{};
    return false;
  }
  if (rect) *rect = it->second;
  return true;
}

void ThreadMessageQueue::DropWindow(WindowHandle window) {
  std::lock_guard lock(mutex_);
  for (auto it = posted_.begin(); it != posted_.end();) {
    if (it->window == window) {
      --posted_counts_[KindSlot(it->message)];
      it = posted_.erase(it);
    } else {
      ++it;
    }
  }
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
  update_.erase(window);
}

void ThreadMessageQueue::PostQuit(int exit_code) {
  std::lock_guard lock(mutex_);
  quit_pending_ = true;
  quit_code_ = exit_code;
  changed_bits_ |= kQsPostMessage | kQsAllPostMessage;
}

uint32_t ThreadMessageQueue::CurrentBitsLocked(int64_t now_ns) {
  uint32_t bits = 0;
  for (int slot = 0; slot < 4; ++slot) {
    if (posted_counts_[slot]) bits |= kSlotBits[slot];
  }
  if (quit_pending_) bits |= kQsPostMessage | kQsAllPostMessage;
  if (!sent_.empty()) bits |= kQsSendMessage;
  if (!update_.empty()) bits |= kQsPaint;
  for (Timer& timer : timers_) {
    if (timer.due_ns > now_ns) continue;
    bits |= kQsTimer;
    if (!timer.reported) {
      timer.reported = true;
      changed_bits_ |= kQsTimer;
    }
  }
  return bits;
}

void ThreadMessageQueue::DrainNative() {
  // A drain that looks at the queue itself must not re-enter the native source.
  if (!native_drain_ || draining_) return;
  draining_ = true;
  native_drain_(native_context_);
  draining_ = false;
}

bool ThreadMessageQueue::Peek(Message* message, WindowHandle window, uint32_t filter_min,
                              uint32_t filter_max, bool remove) {
  DrainNative();
  DispatchSentMessages();
  int64_t now = PerformanceCounterNanos();
  std::lock_guard lock(mutex_);
  changed_bits_ = 0;
  // Pass 1: posted and input messages in arrival order.
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if ((window != 0 && it->window != window) || !InRange(it->message, filter_min, filter_max)) continue;
    *message = *it;
    if (remove) {
      --posted_counts_[KindSlot(it->message)];
      posted_.erase(it);
    }
    return true;
  }
  // Pass 2: the quit request, once no posted message is left for this filter.
  if (quit_pending_ && window == 0 && InRange(kQuit, filter_min, filter_max)) {
    *message = Message{0, kQuit, static_cast<WParam>(quit_code_), 0, TickCount(), {}};
    if (remove) quit_pending_ = false;
    return true;
  }
  // Pass 3: paint, synthesised from the update regions; it stays until validated.
  if (InRange(kPaint, filter_min, filter_max)) {
    for (const auto& [handle, region] : update_) {
      if (window != 0 && handle != window) continue;
      *message = Message{handle, kPaint, 0, 0, TickCount(), {}};
      return true;
    }
  }
  // Pass 4: the earliest due timer.
  if (InRange(kTimer, filter_min, filter_max)) {
    Timer* due = nullptr;
    for (Timer& timer : timers_) {
      if (timer.due_ns > now || (window != 0 && timer.window != window)) continue;
      if (!due || timer.due_ns < due->due_ns) due = &timer;
    }
    if (due) {
      *message = Message{due->window, kTimer, due->id, 0, TickCount(), {}};
      if (remove) {
        due->due_ns = now + due->period_ns;
        due->reported = false;
      }
      return true;
    }
  }
  return false;
}

uint32_t ThreadMessageQueue::Status(uint32_t flags) {
  DrainNative();
  std::lock_guard lock(mutex_);
  uint32_t now_bits = CurrentBitsLocked(PerformanceCounterNanos());
  uint32_t result = ((now_bits & flags) << 16) | (changed_bits_ & flags);
  changed_bits_ = 0;
  return result;
}

WaitResult ThreadMessageQueue::Wait(uint32_t timeout_ms, uint32_t wake_mask, uint32_t flags) {
  const int64_t start = PerformanceCounterNanos();
  const int64_t deadline = timeout_ms == kInfinite ? INT64_MAX : start + int64_t{timeout_ms} * kNanosPerMilli;
  for (;;) {
    DrainNative();
    int64_t now = PerformanceCounterNanos();
    int64_t wake_at = deadline;
    {
      std::lock_guard lock(mutex_);
      uint32_t now_bits = CurrentBitsLocked(now);
      if ((flags & kWaitInputAvailable) && (now_bits & wake_mask)) return WaitResult::kInput;
      if (changed_bits_ & wake_mask) return WaitResult::kInput;
      if (now >= deadline) return WaitResult::kTimeout;
      if (wake_mask & kQsTimer) {
        for (const Timer& timer : timers_) wake_at = std::min(wake_at, timer.due_ns);
      }
      waiting_ = true;
    }
    int poll_ms = -1;
    if (wake_at != INT64_MAX) {
      int64_t left = std::max<int64_t>(wake_at - now, 0);
      poll_ms = static_cast<int>(std::min<int64_t>((left + kNanosPerMilli - 1) / kNanosPerMilli, INT_MAX));
    }
    pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {native_fd_, POLLIN, 0}};
    int count = native_fd_ >= 0 ? 2 : 1;
    int r = poll(fds, count, poll_ms);
    (void)r;  // EINTR and time-outs are both answered by looking again
    std::lock_guard lock(mutex_);
    waiting_ = false;
    if (signalled_) {
      uint64_t value;
      [[maybe_unused]] ssize_t n = read(wake_fd_, &value, sizeof value);
      signalled_ = false;
    }
  }
}

int ThreadMessageQueue::AddHook(MessageHook hook) {
  int id = next_hook_id_++;
  hooks_.insert(hooks_.begin(), {id, std::move(hook)});
  return id;
}

bool ThreadMessageQueue::RemoveHook(int hook_id) {
  return std::erase_if(hooks_, [&](const auto& h) { return h.first == hook_id; }) > 0;
}

bool ThreadMessageQueue::CallHooks(Message* message, int code) {
  // A hook may add or remove hooks: walk a copy.
  auto hooks = hooks_;
  for (auto& [id, hook] : hooks) {
    if (hook(code, *message)) return true;
  }
  return false;
}

void ThreadMessageQueue::SetNativeSource(int fd, NativeDrain drain, void* context) {
  native_fd_ = fd;
  native_drain_ = fd >= 0 ? drain : nullptr;
  native_context_ = fd >= 0 ? context : nullptr;
}

}  // namespace platform
