#include "tasks/thread_manager.h"

#include "tasks/framework_thread.h"
#include "tasks/message_loop.h"
#include "tasks/message_loop_proxy.h"

namespace nbase {
namespace {

void RunRepeatedly(int identifier, const WeakCallback<Closure>& task, TimeDelta delay, int times) {
  if (task.Expired()) return;
  task();
  if (task.Expired()) return;
  int next = times == -1 ? -1 : times - 1;
  if (next != 0) ThreadManager::PostRepeatedTask(identifier, task, delay, next);
}

}  // namespace

ThreadManager& ThreadManager::Instance() {
  static ThreadManager* manager = new ThreadManager();  // outlives every thread
  return *manager;
}

bool ThreadManager::RegisterThread(int self_identifier) {
  ThreadTlsData* tls = FrameworkThread::GetTlsData();
  if (self_identifier < 0 || !tls) return false;
  ThreadManager& manager = Instance();
  std::lock_guard lock(manager.lock_);
  auto [it, inserted] = manager.threads_.emplace(self_identifier, tls->self);
  if (!inserted && it->second != tls->self) return false;
  ++tls->managed;
  tls->managed_thread_id = self_identifier;
  return true;
}

bool ThreadManager::UnregisterThread() {
  ThreadTlsData* tls = FrameworkThread::GetTlsData();
  if (!tls || tls->managed <= 0) return false;
  if (--tls->managed > 0) return true;
  ThreadManager& manager = Instance();
  std::lock_guard lock(manager.lock_);
  auto it = manager.threads_.find(tls->managed_thread_id);
  if (it != manager.threads_.end() && it->second == tls->self) manager.threads_.erase(it);
  tls->managed_thread_id = -1;
  return true;
}

std::shared_ptr<MessageLoopProxy> ThreadManager::GetMessageLoopProxy(int identifier) {
  ThreadManager& manager = Instance();
  std::lock_guard lock(manager.lock_);
  auto it = manager.threads_.find(identifier);
  if (it == manager.threads_.end()) return nullptr;
  MessageLoop* loop = it->second->message_loop();
  return loop ? loop->message_loop_proxy() : nullptr;
}

int ThreadManager::QueryThreadId() {
  ThreadTlsData* tls = FrameworkThread::GetTlsData();
  return tls ? tls->managed_thread_id : -1;
}

bool ThreadManager::PostTask(int identifier, Closure task) {
  auto proxy = GetMessageLoopProxy(identifier);
  return proxy && proxy->PostTask(std::move(task));
}

bool ThreadManager::PostDelayedTask(int identifier, Closure task, TimeDelta delay) {
  auto proxy = GetMessageLoopProxy(identifier);
  return proxy && proxy->PostDelayedTask(std::move(task), delay);
}

bool ThreadManager::PostNonNestableTask(int identifier, Closure task) {
  auto proxy = GetMessageLoopProxy(identifier);
  return proxy && proxy->PostNonNestableTask(std::move(task));
}

bool ThreadManager::PostRepeatedTask(int identifier, const WeakCallback<Closure>& task, TimeDelta delay,
                                     int times) {
  if (times == 0 || times < -1) return false;
  auto proxy = GetMessageLoopProxy(identifier);
  if (!proxy) return false;
  return proxy->PostDelayedTask([identifier, task, delay, times] { RunRepeatedly(identifier, task, delay, times); },
                                delay);
}

}  // namespace nbase
