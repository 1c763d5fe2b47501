#include "tasks/win_io_message_pump.h"

#include "tasks/io_context.h"
#include "tasks/io_handler.h"

namespace nbase {

WinIOMessagePump::WinIOMessagePump() : port_(std::make_unique<CompletionPort>()) {}

void WinIOMessagePump::Run(Delegate* delegate) { WinMessagePump::Run(delegate); }

void WinIOMessagePump::Quit() { WinMessagePump::Quit(); }

void WinIOMessagePump::ScheduleWork() {
  if (have_work_.exchange(1) != 0) return;  // a wake-up packet is already queued
  port_->Post(CompletionPacket{reinterpret_cast<uintptr_t>(this), 0, this, 0});
}

void WinIOMessagePump::ScheduleDelayedWork(int64_t delayed_work_time) { delayed_work_time_ = delayed_work_time; }

void WinIOMessagePump::DoRunLoop() {
  bool more_work_is_plausible = state_->delegate->DoWork();
  while (!state_->should_quit) {
    more_work_is_plausible |= WaitForIOCompletion(0);
    if (state_->should_quit) break;
    more_work_is_plausible |= state_->delegate->DoDelayedWork(&delayed_work_time_);
    if (state_->should_quit) break;
    if (!more_work_is_plausible) {
      bool did_idle = state_->delegate->DoIdleWork();
      if (state_->should_quit) break;
      if (!did_idle) WaitForIOCompletion(GetWaitTimeout());
    }
    more_work_is_plausible = state_->delegate->DoWork();
  }
}

bool WinIOMessagePump::WaitForIOCompletion(uint32_t timeout_ms) {
  CompletionPacket packet;
  if (!port_->Dequeue(timeout_ms, &packet)) return false;
  if (packet.key == reinterpret_cast<uintptr_t>(this) && packet.context == this) {
    have_work_.exchange(0);
    return true;
  }
  auto* context = static_cast<IOContext*>(packet.context);
  if (context && context->handler) {
    observers_.Notify([](IOObserver* o) { o->WillProcessIOEvent(); });
    reinterpret_cast<IOHandler*>(packet.key)->OnIOCompleted(context, packet.bytes, packet.error);
    observers_.Notify([](IOObserver* o) { o->DidProcessIOEvent(); });
  } else {
    delete context;  // its handler has gone away
  }
  return true;
}

}  // namespace nbase
