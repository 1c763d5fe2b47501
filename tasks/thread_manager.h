#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "tasks/closure.h"
#include "tasks/time_delta.h"
#include "tasks/weak_callback.h"

// Process-wide registry of the well-known threads (ThreadId), and posting to them
// by identifier. Posting to an identifier that has no running loop drops the task.
namespace nbase {

class FrameworkThread;
class MessageLoopProxy;

class ThreadManager {
 public:
  // From a thread body's Init. A negative identifier, a thread without a body, or
  // an identifier held by another thread registers nothing (false).
  static bool RegisterThread(int self_identifier);
  // From Cleanup: undoes one registration of the calling thread.
  static bool UnregisterThread();
  // The proxy of the identifier's loop; empty when not registered or not running.
  static std::shared_ptr<MessageLoopProxy> GetMessageLoopProxy(int identifier);
  // The calling thread's registered identifier, -1 for none.
  static int QueryThreadId();

  // False when the task was dropped.
  static bool PostTask(int identifier, Closure task);
  static bool PostDelayedTask(int identifier, Closure task, TimeDelta delay);
  static bool PostNonNestableTask(int identifier, Closure task);
  // Runs task every delay (measured from the end of one run to the start of the
  // next) times times, or until its owner dies when times is -1. Other counts
  // below 1 post nothing.
  static bool PostRepeatedTask(int identifier, const WeakCallback<Closure>& task, TimeDelta delay,
                               int times = -1);

 private:
  static ThreadManager& Instance();

  std::mutex lock_;
  std::map<int, FrameworkThread*> threads_;
};

}  // namespace nbase
