#include "tasks/timer_manager.h"

#include "platform/clock.h"

namespace nbase {
namespace {

constexpr char kWindowClass[] = "UI_ANIMATION_TIMERMANAGER_H_";
constexpr int64_t kCounterFrequency = 1000000000;  // the counter counts nanoseconds

}  // namespace

TimerManager* TimerManager::GetInstance() {
  static TimerManager* instance = new TimerManager();  // lives until process exit
  return instance;
}

TimerManager::TimerManager() : frequency_(kCounterFrequency) {
  platform::RegisterWindowClass(kWindowClass, &WndProc);
  message_window_ = platform::CreateMessageWindow(kWindowClass, this);
}

platform::LResult TimerManager::WndProc(platform::WindowHandle window, uint32_t message, platform::WParam wparam,
                                        platform::LParam lparam) {
  if (message == kWakeUpMessage) {
    if (auto* manager = static_cast<TimerManager*>(platform::GetWindowUserData(window))) manager->Poll();
    return 1;
  }
  return platform::DefWindowProc(window, message, wparam, lparam);
}

bool TimerManager::AddTimer(const std::weak_ptr<WeakFlag>& flag, const Closure& task, uint32_t elapse_ms,
                            int count) {
  TimerEntry entry;
  entry.task = task;
  entry.period = int64_t{elapse_ms} * frequency_ / 1000;
  entry.count = count;
  entry.due = platform::PerformanceCounterNanos() + entry.period;
  entry.flag = flag;
  queue_.push(std::move(entry));
  if (!timer_ || !fast_mode_) {
    KillTimer();
    StartTimer(kFastPeriodMs);
    fast_mode_ = true;
  }
  return true;
}

void TimerManager::StartTimer(uint32_t period_ms) {
  platform::WindowHandle window = message_window_;
  timer_ = std::make_unique<MultimediaTimer>(period_ms,
                                             [window] { platform::PostMessage(window, kWakeUpMessage, 0, 0); });
}

void TimerManager::KillTimer() { timer_.reset(); }

void TimerManager::Poll() {
  const int64_t now = platform::PerformanceCounterNanos();
  while (!queue_.empty()) {
    const TimerEntry& top = queue_.top();
    if (top.due > now) {
      int64_t remaining = top.due - now;
      if (remaining >= frequency_) {
        KillTimer();
        StartTimer(static_cast<uint32_t>(remaining * 1000 / frequency_ + 2));
        fast_mode_ = false;
      } else if (!fast_mode_) {
        KillTimer();
        StartTimer(kFastPeriodMs);
        fast_mode_ = true;
      }
      break;
    }
    TimerEntry entry = std::move(const_cast<TimerEntry&>(top));
    queue_.pop();
    if (entry.flag.expired()) continue;  // owner gone: dropped unrun
    entry.task();
    if (entry.count == -1 || entry.count >= 2) {
      if (entry.count != -1) --entry.count;
      // Due at this poll's start plus the period, so a zero period waits a poll.
      entry.due = now + std::max<int64_t>(entry.period, 1);
      queue_.push(std::move(entry));
    }
  }
  if (queue_.empty()) KillTimer();
}

}  // namespace nbase
