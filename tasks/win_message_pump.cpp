#include "tasks/win_message_pump.h"

#include <algorithm>

#include "tasks/time_ticks.h"

namespace nbase {
namespace {

constexpr int64_t kMaxWaitMs = 0xFFFFFFFE;
constexpr uint32_t kInfiniteWait = 0xFFFFFFFF;

}  // namespace

void WinMessagePump::Run(Delegate* delegate) { RunWithDispatcher(delegate, nullptr); }

void WinMessagePump::RunWithDispatcher(Delegate* delegate, Dispatcher* dispatcher) {
  PumpRunState state;
  state.run_depth = state_ ? state_->run_depth + 1 : 1;
  state.delegate = delegate;
  state.dispatcher = dispatcher;
  PumpRunState* previous = state_;
  state_ = &state;
  DoRunLoop();
  state_ = previous;
}

void WinMessagePump::Quit() {
  if (state_) state_->should_quit = true;
}

int64_t WinMessagePump::GetCurrentDelay() const {
  if (delayed_work_time_ == 0) return -1;
  int64_t left_us = delayed_work_time_ - TimeTicks::Now();
  if (left_us <= 0) return 0;
  return (left_us + 999) / 1000;
}

uint32_t WinMessagePump::GetWaitTimeout() const {
  int64_t delay = GetCurrentDelay();
  if (delay < 0) return kInfiniteWait;
  return static_cast<uint32_t>(std::min(delay, kMaxWaitMs));
}

}  // namespace nbase
