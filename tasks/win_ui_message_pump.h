#pragma once

#include "platform/messages/window_messages.h"
#include "tasks/observer_list.h"
#include "tasks/ui_observer.h"
#include "tasks/win_message_pump.h"

// The UI thread's pump: window messages and tasks share the thread. A hidden
// message window receives the wake-up message (at most one queued) and the timer
// for the earliest deadline; each wake-up message is replaced by one real message,
// so a flood of tasks never starves painting or input.
namespace nbase {

class WinUIMessagePump : public WinMessagePump {
 public:
  static constexpr uint32_t kWorkMessage = platform::kUser + 1;
  static constexpr int kMessageFilterCode = 0x5001;
  static constexpr uint32_t kMinTimerPeriodMs = 10;

  // On the thread that will run it: creates the hidden window there.
  WinUIMessagePump();
  ~WinUIMessagePump() override;

  void Run(Delegate* delegate) override;
  void Quit() override;
  void ScheduleWork() override;
  void ScheduleDelayedWork(int64_t delayed_work_time) override;

  void AddObserver(UIObserver* observer) { observers_.AddObserver(observer); }
  void RemoveObserver(UIObserver* observer) { observers_.RemoveObserver(observer); }
  platform::WindowHandle message_window() const { return message_window_; }
  // Wake-up messages posted so far (diagnostics and benchmarks).
  uint64_t wake_ups_posted() const { return wake_ups_posted_.load(std::memory_order_relaxed); }

 protected:
  void DoRunLoop() override;
  virtual void WillProcessMessage(const platform::Message& message);
  virtual void DidProcessMessage(const platform::Message& message);

 private:
  static platform::LResult WndProc(platform::WindowHandle window, uint32_t message, platform::WParam wparam,
                                   platform::LParam lparam);
  void HandleWorkMessage();
  void HandleTimerMessage();
  void WaitForWork();
  // Each returns whether there may be more work.
  bool ProcessNextWindowsMessage();
  bool ProcessMessageHelper(platform::Message& message);
  bool ProcessPumpReplacementMessage();
  uintptr_t timer_id() const { return reinterpret_cast<uintptr_t>(this); }

  platform::WindowHandle message_window_ = 0;
  std::atomic<uint64_t> wake_ups_posted_{0};
  ObserverList<UIObserver> observers_;
};

}  // namespace nbase
