#pragma once

#include <memory>
#include <mutex>
#include <queue>
#include <vector>

#include "tasks/closure.h"
#include "tasks/destruction_observer.h"
#include "tasks/message_pump.h"
#include "tasks/observer_list.h"
#include "tasks/pending_task.h"
#include "tasks/run_state.h"
#include "tasks/task_observer.h"
#include "tasks/task_queue.h"
#include "tasks/time_delta.h"

// The task queues of one thread. Any thread may post; everything else happens on
// the loop's own thread, which runs the loop through its pump.
namespace nbase {

class Dispatcher;
class MessageLoopProxy;

class MessageLoop : public MessagePump::Delegate {
 public:
  enum Type { kDefaultMessageLoop = 0, kUIMessageLoop = 1, kIOMessageLoop = 2, kCustomMessageLoop = 3 };

  // Becomes the calling thread's current loop, with an event pump.
  MessageLoop();
  // Pending tasks are destroyed unrun.
  ~MessageLoop() override;
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The calling thread's loop, or null.
  static MessageLoop* current();

  // Any thread. A delayed task's deadline is taken on the posting thread, now.
  // The closure is taken by value and moved into the queue: no copy for a temporary.
  void PostTask(Closure task);
  void PostDelayedTask(Closure task, TimeDelta delay);
  void PostNonNestableTask(Closure task);
  void PostNonNestableDelayedTask(Closure task, TimeDelta delay);

  // Runs until a task calls Quit (nested when called from inside a run).
  void Run();
  void RunWithDispatcher(Dispatcher* dispatcher);
  // Ends the innermost run once no immediate or due work is left.
  void Quit();

  int type() const { return type_; }
  // For the thread body: swaps in a platform pump right after construction.
  void ReplacePump(std::shared_ptr<MessagePump> pump, Type type);
  MessagePump* pump() const { return pump_.get(); }
  bool IsNested() const { return run_state_ && run_state_->run_depth > 1; }
  int run_depth() const { return run_state_ ? run_state_->run_depth : 0; }
  bool native_modal() const { return native_modal_; }
  void set_native_modal(bool native_modal) { native_modal_ = native_modal; }
  const std::shared_ptr<MessageLoopProxy>& message_loop_proxy() const { return proxy_; }

  void AddTaskObserver(TaskObserver* observer) { task_observers_.AddObserver(observer); }
  void RemoveTaskObserver(TaskObserver* observer) { task_observers_.RemoveObserver(observer); }
  void AddDestructionObserver(DestructionObserver* observer) { destruction_observers_.AddObserver(observer); }
  void RemoveDestructionObserver(DestructionObserver* observer) { destruction_observers_.RemoveObserver(observer); }

  // MessagePump::Delegate.
  bool DoWork() override;
  bool DoDelayedWork(int64_t* next_delayed_work_time) override;
  bool DoIdleWork() override;

 protected:
  virtual void AddToIncomingQueue(PendingTask&& task);

 private:
  void PostPendingTask(Closure&& task, TimeDelta delay, bool delayed, bool nestable);
  void RunInternal(RunState* state);
  void ReloadWorkQueue();
  void AddToDelayedWorkQueue(PendingTask&& task);
  bool DeferOrRunPendingTask(PendingTask&& task);
  void RunTask(PendingTask& task);
  // Empties the work and deferred queues and destroys the delayed tasks;
  // reports whether there were any delayed tasks.
  bool DeletePendingTasks();

  int type_ = kDefaultMessageLoop;
  RunState* run_state_ = nullptr;
  std::shared_ptr<MessagePump> pump_;
  bool native_modal_ = false;
  bool nestable_tasks_allowed_ = true;

  // The only members other threads touch get cache lines of their own, so posting
  // does not fight the loop thread over the lines of its own queues.
  alignas(64) std::mutex incoming_lock_;
  TaskQueue incoming_queue_;  // guarded by incoming_lock_
  alignas(64) TaskQueue work_queue_;
  TaskQueue deferred_non_nestable_queue_;
  std::priority_queue<PendingTask> delayed_work_queue_;
  uint32_t next_sequence_num_ = 0;  // wraps; compared as int32 in the heap
  int64_t recent_time_ = 0;

  ObserverList<TaskObserver> task_observers_;
  ObserverList<DestructionObserver> destruction_observers_;
  std::shared_ptr<MessageLoopProxy> proxy_;
};

}  // namespace nbase
