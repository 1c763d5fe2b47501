#include "tasks/message_loop.h"

#include <cassert>

#include "tasks/default_message_pump.h"
#include "tasks/message_loop_proxy.h"
#include "tasks/time_ticks.h"
#include "tasks/win_ui_message_pump.h"

namespace nbase {
namespace {

thread_local MessageLoop* current_loop = nullptr;

constexpr int kMaxDestructionRounds = 100;

}  // namespace

MessageLoop::MessageLoop() : pump_(std::make_shared<DefaultMessagePump>()) {
  assert(!current_loop && "one MessageLoop per thread");
  current_loop = this;
  proxy_ = MessageLoopProxy::Create(this);
}

MessageLoop::~MessageLoop() {
  assert(current_loop == this && !run_state_);
  // Pass 1: destroy pending tasks; destroying one may post more, so go round again.
  for (int round = 0; round < kMaxDestructionRounds; ++round) {
    DeletePendingTasks();
    ReloadWorkQueue();
    if (!DeletePendingTasks()) break;
  }
  // Pass 2: tell the observers and cut the proxy off.
  destruction_observers_.Notify([](DestructionObserver* o) { o->WillDestroyCurrentMessageLoop(); });
  proxy_->WillDestroyCurrentMessageLoop();
  proxy_.reset();
  current_loop = nullptr;
  // Pass 3: release the pump and whatever the queues still hold, unrun.
  pump_.reset();
  TaskQueue leftover;
  {
    std::lock_guard lock(incoming_lock_);
    leftover.swap(incoming_queue_);
  }
  leftover.clear();
  work_queue_.clear();
  deferred_non_nestable_queue_.clear();
  delayed_work_queue_ = {};
}

MessageLoop* MessageLoop::current() { return current_loop; }

void MessageLoop::PostTask(Closure task) { PostPendingTask(std::move(task), TimeDelta(), false, true); }

void MessageLoop::PostDelayedTask(Closure task, TimeDelta delay) {
  PostPendingTask(std::move(task), delay, true, true);
}

void MessageLoop::PostNonNestableTask(Closure task) { PostPendingTask(std::move(task), TimeDelta(), false, false); }

void MessageLoop::PostNonNestableDelayedTask(Closure task, TimeDelta delay) {
  PostPendingTask(std::move(task), delay, true, false);
}

void MessageLoop::PostPendingTask(Closure&& task, TimeDelta delay, bool delayed, bool nestable) {
  PendingTask pending;
  if (delayed) pending.deadline = TimeTicks::Now() + delay.ToMicroseconds();
  pending.nestable = nestable;
  pending.closure = std::move(task);
  AddToIncomingQueue(std::move(pending));
}

void MessageLoop::AddToIncomingQueue(PendingTask&& task) {
  std::shared_ptr<MessagePump> pump;
  {
    std::lock_guard lock(incoming_lock_);
    bool was_empty = incoming_queue_.empty();
    incoming_queue_.push(std::move(task));
    // The pump has already been told about a non-empty queue.
    if (!was_empty) return;
    pump = pump_;
  }
  if (pump) pump->ScheduleWork();
}

void MessageLoop::ReplacePump(std::shared_ptr<MessagePump> pump, Type type) {
  {
    std::lock_guard lock(incoming_lock_);
    pump_ = std::move(pump);
  }
  type_ = type;
}

void MessageLoop::Run() { RunWithDispatcher(nullptr); }

void MessageLoop::RunWithDispatcher(Dispatcher* dispatcher) {
  RunState state;
  state.run_depth = run_state_ ? run_state_->run_depth + 1 : 1;
  state.dispatcher = dispatcher;
  RunInternal(&state);
}

void MessageLoop::RunInternal(RunState* state) {
  RunState* previous = run_state_;
  run_state_ = state;
  auto* ui_pump = type_ == kUIMessageLoop ? dynamic_cast<WinUIMessagePump*>(pump_.get()) : nullptr;
  if (ui_pump && state->dispatcher) {
    ui_pump->RunWithDispatcher(this, state->dispatcher);
  } else {
    pump_->Run(this);
  }
  run_state_ = previous;
}

void MessageLoop::Quit() {
  if (run_state_) run_state_->quit_received = true;
}

void MessageLoop::ReloadWorkQueue() {
  if (!work_queue_.empty()) return;
  std::lock_guard lock(incoming_lock_);
  if (!incoming_queue_.empty()) work_queue_.swap(incoming_queue_);
}

void MessageLoop::AddToDelayedWorkQueue(PendingTask&& task) {
  task.sequence_num = static_cast<int32_t>(next_sequence_num_++);
  delayed_work_queue_.push(std::move(task));
}

bool MessageLoop::DeferOrRunPendingTask(PendingTask&& task) {
  if (task.nestable || run_state_->run_depth == 1) {
    RunTask(task);
    return true;
  }
  deferred_non_nestable_queue_.push(std::move(task));
  return false;
}

void MessageLoop::RunTask(PendingTask& task) {
  // A pump nested inside the task (a modal loop) must not run this loop's tasks.
  nestable_tasks_allowed_ = false;
  task_observers_.Notify([](TaskObserver* o) { o->WillProcessTask(); });
  if (task.closure) task.closure();
  task_observers_.Notify([](TaskObserver* o) { o->DidProcessTask(); });
  nestable_tasks_allowed_ = true;
}

bool MessageLoop::DoWork() {
  if (!nestable_tasks_allowed_) return false;
  for (;;) {
    ReloadWorkQueue();
    if (work_queue_.empty()) return false;
    while (!work_queue_.empty()) {
      PendingTask& front = work_queue_.front();
      if (front.deadline) {
        AddToDelayedWorkQueue(work_queue_.pop());
        const PendingTask& top = delayed_work_queue_.top();
        if (top.sequence_num == static_cast<int32_t>(next_sequence_num_ - 1)) {
          pump_->ScheduleDelayedWork(top.deadline);
        }
      } else if (front.nestable || run_state_->run_depth == 1) {
        // Run in place: the work queue cannot change while a task runs (DoWork
        // refuses to run nested), so the reference stays valid.
        RunTask(front);
        work_queue_.drop_front();
        return true;
      } else {
        deferred_non_nestable_queue_.push(work_queue_.pop());
      }
    }
  }
}

bool MessageLoop::DoDelayedWork(int64_t* next_delayed_work_time) {
  if (!nestable_tasks_allowed_ || delayed_work_queue_.empty()) {
    recent_time_ = 0;
    *next_delayed_work_time = 0;
    return false;
  }
  int64_t deadline = delayed_work_queue_.top().deadline;
  if (deadline > recent_time_) {
    recent_time_ = TimeTicks::Now();
    if (deadline > recent_time_) {
      *next_delayed_work_time = deadline;
      return false;
    }
  }
  PendingTask task = std::move(const_cast<PendingTask&>(delayed_work_queue_.top()));
  delayed_work_queue_.pop();
  if (!delayed_work_queue_.empty()) *next_delayed_work_time = delayed_work_queue_.top().deadline;
  return DeferOrRunPendingTask(std::move(task));
}

bool MessageLoop::DoIdleWork() {
  if (run_state_->run_depth == 1 && !deferred_non_nestable_queue_.empty()) {
    PendingTask task = deferred_non_nestable_queue_.pop();
    RunTask(task);
    return true;
  }
  if (run_state_->quit_received) pump_->Quit();
  return false;
}

bool MessageLoop::DeletePendingTasks() {
  while (!work_queue_.empty()) {
    PendingTask task = work_queue_.pop();
    if (task.deadline) AddToDelayedWorkQueue(std::move(task));
  }
  while (!deferred_non_nestable_queue_.empty()) deferred_non_nestable_queue_.pop();
  bool had_delayed = !delayed_work_queue_.empty();
  while (!delayed_work_queue_.empty()) {
    PendingTask task = std::move(const_cast<PendingTask&>(delayed_work_queue_.top()));
    delayed_work_queue_.pop();
  }
  return had_delayed;
}

}  // namespace nbase
