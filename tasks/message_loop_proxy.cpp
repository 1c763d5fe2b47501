#include "tasks/message_loop_proxy.h"

#include "tasks/message_loop.h"

namespace nbase {

std::shared_ptr<MessageLoopProxy> MessageLoopProxy::Create(MessageLoop* target) {
  return std::shared_ptr<MessageLoopProxy>(new MessageLoopProxy(target), Deleter());
}

bool MessageLoopProxy::PostTask(Closure task) { return PostTaskHelper(std::move(task), TimeDelta(), true); }

bool MessageLoopProxy::PostDelayedTask(Closure task, TimeDelta delay) {
  return PostTaskHelper(std::move(task), delay, true);
}

bool MessageLoopProxy::PostNonNestableTask(Closure task) {
  return PostTaskHelper(std::move(task), TimeDelta(), false);
}

bool MessageLoopProxy::PostNonNestableDelayedTask(Closure task, TimeDelta delay) {
  return PostTaskHelper(std::move(task), delay, false);
}

bool MessageLoopProxy::PostTaskHelper(Closure&& task, TimeDelta delay, bool nestable) {
  std::lock_guard lock(lock_);
  if (!target_) return false;
  const bool immediate = delay == TimeDelta();
  if (nestable) {
    immediate ? target_->PostTask(std::move(task)) : target_->PostDelayedTask(std::move(task), delay);
  } else {
    immediate ? target_->PostNonNestableTask(std::move(task))
              : target_->PostNonNestableDelayedTask(std::move(task), delay);
  }
  return true;
}

bool MessageLoopProxy::BelongsToCurrentThread() {
  std::lock_guard lock(lock_);
  return target_ && target_ == MessageLoop::current();
}

void MessageLoopProxy::WillDestroyCurrentMessageLoop() {
  std::lock_guard lock(lock_);
  target_ = nullptr;
}

void MessageLoopProxy::OnDestruct() {
  // Declared first so it dies after the lock is left: it may hold the last reference.
  Closure delete_task;
  {
    std::lock_guard lock(lock_);
    if (target_ && target_ != MessageLoop::current()) {
      // The task owns the proxy: running it, or destroying it unrun in the loop's
      // teardown, deletes the proxy on the loop's thread; it never leaks.
      std::shared_ptr<MessageLoopProxy> owner(this, [](MessageLoopProxy* p) { delete p; });
      delete_task = [owner = std::move(owner)] {};
      target_->PostNonNestableTask(delete_task);
      return;
    }
  }
  delete this;
}

}  // namespace nbase
