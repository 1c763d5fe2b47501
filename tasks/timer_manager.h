#pragma once

#include <cstdint>
#include <memory>
#include <queue>
#include <vector>

#include "platform/messages/window_messages.h"
#include "tasks/closure.h"
#include "tasks/multimedia_timer.h"
#include "tasks/weak_flag.h"

// The UI thread's timer service: one queue of timers on the performance counter,
// woken by one multimedia timer that ticks every 16 ms while something is due
// within a second and otherwise once shortly after the next due time. Timers of
// owners that are gone are dropped unrun.
namespace nbase {

class TimerManager {
 public:
  static constexpr uint32_t kWakeUpMessage = 0x2B0F;
  static constexpr uint32_t kFastPeriodMs = 16;

  // Created on first use; its hidden window lives on that (the UI) thread.
  static TimerManager* GetInstance();

  // UI thread. count: -1 forever, else the number of runs (at least 1). A zero
  // elapse fires once per wake-up rather than spinning inside one poll.
  bool AddTimer(const std::weak_ptr<WeakFlag>& flag, const Closure& task, uint32_t elapse_ms, int count);

  // For tests and diagnostics.
  bool is_fast_mode() const { return fast_mode_; }
  // Period of the running multimedia timer in ms, 0 when none runs.
  uint32_t timer_period_ms() const { return timer_ ? timer_->period_ms() : 0; }
  size_t pending_count() const { return queue_.size(); }
  platform::WindowHandle message_window() const { return message_window_; }

 private:
  struct TimerEntry {
    Closure task;
    int64_t period = 0;  // counter ticks
    int count = -1;
    int64_t due = 0;     // counter value
    std::weak_ptr<WeakFlag> flag;
    bool operator<(const TimerEntry& other) const { return due > other.due; }
  };

  TimerManager();
  static platform::LResult WndProc(platform::WindowHandle window, uint32_t message, platform::WParam wparam,
                                   platform::LParam lparam);
  void Poll();
  void StartTimer(uint32_t period_ms);
  void KillTimer();

  std::priority_queue<TimerEntry> queue_;
  const int64_t frequency_;
  bool fast_mode_ = true;
  std::unique_ptr<MultimediaTimer> timer_;
  platform::WindowHandle message_window_ = 0;
};

}  // namespace nbase
