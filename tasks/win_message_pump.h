#pragma once

#include <atomic>
#include <cstdint>

#include "tasks/message_pump.h"
#include "tasks/pump_run_state.h"

// Common base of the window-message and completion-port pumps: nested runs,
// quitting, and the delay until the next deadline.
namespace nbase {

class WinMessagePump : public MessagePump {
 public:
  void Run(Delegate* delegate) override;
  void Quit() override;

  // Dispatcher mode: a run whose messages go to the dispatcher.
  void RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher);

 protected:
  virtual void DoRunLoop() = 0;
  // Milliseconds until the delayed work time, rounded up; 0 when past, -1 when none.
  int64_t GetCurrentDelay() const;
  // Time-out for a platform wait: the current delay, infinite when none, capped.
  uint32_t GetWaitTimeout() const;

  int64_t delayed_work_time_ = 0;
  // 1 while a wake-up is in flight; at most one is ever queued.
  std::atomic<int32_t> have_work_{0};
  PumpRunState* state_ = nullptr;
};

}  // namespace nbase
