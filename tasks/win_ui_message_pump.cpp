#include "tasks/win_ui_message_pump.h"

#include <algorithm>

#include "tasks/dispatcher.h"
#include "tasks/message_loop.h"

namespace nbase {
namespace {

constexpr char kWindowClass[] = "TessalyMessagePumpWindow";
constexpr int64_t kMaxTimerPeriodMs = 0xFFFFFFFE;

}  // namespace

WinUIMessagePump::WinUIMessagePump() {
  platform::RegisterWindowClass(kWindowClass, &WndProc);
  message_window_ = platform::CreateMessageWindow(kWindowClass, this);
}

WinUIMessagePump::~WinUIMessagePump() {
  platform::DestroyWindow(message_window_);
  platform::UnregisterWindowClass(kWindowClass);
}

void WinUIMessagePump::Run(Delegate* delegate) { WinMessagePump::Run(delegate); }

void WinUIMessagePump::Quit() { WinMessagePump::Quit(); }

void WinUIMessagePump::ScheduleWork() {
  if (have_work_.exchange(1) != 0) return;  // a wake-up is already queued
  wake_ups_posted_.fetch_add(1, std::memory_order_relaxed);
  platform::PostMessage(message_window_, kWorkMessage, reinterpret_cast<platform::WParam>(this), 0);
}

void WinUIMessagePump::ScheduleDelayedWork(int64_t delayed_work_time) {
  delayed_work_time_ = delayed_work_time;
  int64_t period = std::clamp<int64_t>(GetCurrentDelay(), kMinTimerPeriodMs, kMaxTimerPeriodMs);
  platform::SetTimer(message_window_, timer_id(), static_cast<uint32_t>(period));
}

platform::LResult WinUIMessagePump::WndProc(platform::WindowHandle window, uint32_t message,
                                            platform::WParam wparam, platform::LParam lparam) {
  auto* pump = static_cast<WinUIMessagePump*>(platform::GetWindowUserData(window));
  if (pump && message == kWorkMessage) {
    pump->HandleWorkMessage();
  } else if (pump && message == platform::kTimer && wparam == pump->timer_id()) {
    pump->HandleTimerMessage();
  }
  return platform::DefWindowProc(window, message, wparam, lparam);
}

// The wake-up was taken by a loop other than ours (a native modal loop).
void WinUIMessagePump::HandleWorkMessage() {
  if (!state_) {
    // Outside any run: only clear the flag so the next post queues a new one.
    have_work_.exchange(0);
    return;
  }
  ProcessPumpReplacementMessage();
  if (state_->delegate->DoWork()) ScheduleWork();
}

void WinUIMessagePump::HandleTimerMessage() {
  platform::KillTimer(message_window_, timer_id());
  if (!state_) return;
  state_->delegate->DoDelayedWork(&delayed_work_time_);
  if (delayed_work_time_) ScheduleDelayedWork(delayed_work_time_);
}

void WinUIMessagePump::DoRunLoop() {
  for (;;) {
    bool more_work_is_plausible = ProcessNextWindowsMessage();
    if (state_->should_quit) break;
    more_work_is_plausible |= state_->delegate->DoWork();
    if (state_->should_quit) break;
    more_work_is_plausible |= state_->delegate->DoDelayedWork(&delayed_work_time_);
    // The timer only serves a deadline that is still pending.
    if (more_work_is_plausible && !delayed_work_time_) platform::KillTimer(message_window_, timer_id());
    if (state_->should_quit) break;
    if (more_work_is_plausible) continue;
    more_work_is_plausible = state_->delegate->DoIdleWork();
    if (state_->should_quit) break;
    if (more_work_is_plausible) continue;
    WaitForWork();
  }
}

void WinUIMessagePump::WaitForWork() {
  if (platform::WaitForInput(GetWaitTimeout(), platform::kQsAllInput, platform::kWaitInputAvailable) !=
      platform::WaitResult::kInput) {
    return;
  }
  // Mouse input flagged but not peekable would wake us again at once: block for
  // new input instead of spinning.
  uint32_t status = platform::GetQueueStatus(platform::kQsMouse);
  platform::Message message;
  if (((status >> 16) & platform::kQsMouse) &&
      !platform::PeekMessage(&message, 0, platform::kMouseMove, platform::kMouseLast, platform::kPmNoRemove)) {
    platform::WaitMessage();
  }
}

bool WinUIMessagePump::ProcessNextWindowsMessage() {
  bool sent_messages_in_queue = (platform::GetQueueStatus(platform::kQsSendMessage) >> 16) & platform::kQsSendMessage;
  platform::Message message;
  if (platform::PeekMessage(&message, 0, 0, 0, platform::kPmRemove)) return ProcessMessageHelper(message);
  return sent_messages_in_queue;
}

bool WinUIMessagePump::ProcessMessageHelper(platform::Message& message) {
  if (message.message == platform::kQuit) {
    // Ends this run; the re-posted quit ends the enclosing runs too.
    state_->should_quit = true;
    platform::PostQuitMessage(static_cast<int>(message.wparam));
    return false;
  }
  if (message.message == kWorkMessage && message.window == message_window_) return ProcessPumpReplacementMessage();
  if (platform::CallMsgFilter(&message, kMessageFilterCode)) return true;
  WillProcessMessage(message);
  if (!state_->dispatcher) {
    platform::TranslateMessage(message);
    platform::DispatchMessage(message);
  } else if (!state_->dispatcher->Dispatch(message)) {
    state_->should_quit = true;
  }
  DidProcessMessage(message);
  return true;
}

bool WinUIMessagePump::ProcessPumpReplacementMessage() {
  platform::Message message;
  bool have_message;
  MessageLoop* loop = MessageLoop::current();
  if (loop && loop->native_modal()) {
    have_message = platform::PeekMessage(&message, 0, platform::kPaint, platform::kPaint, platform::kPmRemove) ||
                   platform::PeekMessage(&message, 0, platform::kTimer, platform::kTimer, platform::kPmRemove);
  } else {
    have_message = platform::PeekMessage(&message, 0, 0, 0, platform::kPmRemove);
  }
  have_work_.exchange(0);
  if (!have_message) return false;
  // Queue a fresh wake-up before handling the message, in case it enters a modal loop.
  ScheduleWork();
  return ProcessMessageHelper(message);
}

void WinUIMessagePump::WillProcessMessage(const platform::Message& message) {
  observers_.Notify([&](UIObserver* o) { o->WillProcessMessage(message); });
}

void WinUIMessagePump::DidProcessMessage(const platform::Message& message) {
  observers_.Notify([&](UIObserver* o) { o->DidProcessMessage(message); });
}

}  // namespace nbase
