#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "tasks/message_loop.h"
#include "tasks/support_weak_callback.h"
#include "tasks/thread.h"
#include "tasks/thread_tls_data.h"
#include "tasks/waitable_event.h"

// A thread that owns one MessageLoop for its whole life. Subclasses add work in
// Init (before the loop runs, on the thread) and Cleanup (after it stopped).
namespace nbase {

class Dispatcher;

class FrameworkThread : public Thread, public virtual SupportWeakCallback {
 public:
  // Makes the loop of a kCustomMessageLoop thread.
  class CustomMessageLoopFactory {
   public:
    virtual ~CustomMessageLoopFactory() = default;
    virtual std::unique_ptr<MessageLoop> CreateMessageLoop() = 0;
  };

  explicit FrameworkThread(const char* name);
  // Stops and joins the thread.
  ~FrameworkThread() override;

  // Returns once the new thread has built its loop and finished Init. Does nothing
  // when the thread already has a loop; false when no thread could be created.
  bool StartWithLoop(MessageLoop::Type type, Dispatcher* dispatcher = nullptr);
  // Runs the thread body on the calling thread; returns when it has ended.
  void RunOnCurrentThreadWithLoop(MessageLoop::Type type, Dispatcher* dispatcher = nullptr);
  // Asks the loop to quit once idle (queued tasks still run), then joins.
  void Stop();

  void set_custom_message_loop_factory(std::shared_ptr<CustomMessageLoopFactory> factory) {
    factory_ = std::move(factory);
  }
  MessageLoop* message_loop() const { return message_loop_.load(std::memory_order_acquire); }
  const std::string& thread_name() const { return name_; }
  bool IsRunning() const { return running_; }

  // The calling thread's record, null outside a thread body.
  static ThreadTlsData* GetTlsData();

 protected:
  void Run() override;
  virtual void Init() {}
  virtual void Cleanup() {}

 private:
  std::unique_ptr<MessageLoop> CreateLoop();

  std::atomic<bool> running_{false};
  std::atomic<bool> stopping_{false};
  MessageLoop::Type loop_type_ = MessageLoop::kDefaultMessageLoop;
  // Written by the thread body under loop_lock_; Stop posts under the same lock,
  // so it never posts into a loop being deleted.
  std::mutex loop_lock_;
  std::atomic<MessageLoop*> message_loop_{nullptr};
  std::shared_ptr<CustomMessageLoopFactory> factory_;
  Dispatcher* dispatcher_ = nullptr;
  WaitableEvent started_;
  std::string name_;
};

}  // namespace nbase
