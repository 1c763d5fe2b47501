#pragma once

#include <memory>
#include <mutex>

#include "tasks/closure.h"
#include "tasks/support_weak_callback.h"
#include "tasks/time_delta.h"

// A shared handle for posting to one MessageLoop from any thread. Once the loop is
// being destroyed every post reports false. The last reference may be dropped on
// any thread; the proxy itself then dies on its loop's thread.
namespace nbase {

class MessageLoop;

class MessageLoopProxy : public SupportWeakCallback {
 public:
  // The shared reference's deleter is the deferred deletion below.
  static std::shared_ptr<MessageLoopProxy> Create(MessageLoop* target);

  MessageLoopProxy(const MessageLoopProxy&) = delete;
  MessageLoopProxy& operator=(const MessageLoopProxy&) = delete;

  // False when the loop is gone (the task is dropped). A zero delay posts an
  // immediate task.
  virtual bool PostTask(Closure task);
  virtual bool PostDelayedTask(Closure task, TimeDelta delay);
  virtual bool PostNonNestableTask(Closure task);
  virtual bool PostNonNestableDelayedTask(Closure task, TimeDelta delay);
  virtual bool BelongsToCurrentThread();
  // Called by the target loop's destructor.
  virtual void WillDestroyCurrentMessageLoop();

 protected:
  explicit MessageLoopProxy(MessageLoop* target) : target_(target) {}
  ~MessageLoopProxy() override = default;
  // Runs when the last shared reference goes.
  virtual void OnDestruct();

 private:
  bool PostTaskHelper(Closure&& task, TimeDelta delay, bool nestable);

  struct Deleter {
    void operator()(MessageLoopProxy* proxy) const { proxy->OnDestruct(); }
  };

  // Held while posting, so the loop cannot finish its destruction mid-post.
  // Lock order: this lock, then the loop's incoming-queue lock. On a cache line
  // of its own: posting threads take it for every task, and it must not share a
  // line with whatever the loop thread writes next to it on the heap.
  alignas(64) std::mutex lock_;
  MessageLoop* target_;  // the 64-byte alignment also pads the object's end
};

}  // namespace nbase
