#include "tasks/framework_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/messages/tests/watchdog.h"
#include "tasks/io_context.h"
#include "tasks/io_handler.h"
#include "tasks/message_loop_proxy.h"
#include "tasks/thread_id.h"
#include "tasks/thread_manager.h"
#include "tasks/weak_callback_flag.h"
#include "tasks/win_io_message_pump.h"

namespace nbase {
namespace {

// A worker that registers under an identifier, as the application's threads do.
class RegisteredThread : public FrameworkThread {
 public:
  RegisteredThread(const char* name, int identifier) : FrameworkThread(name), identifier_(identifier) {}
  ~RegisteredThread() override { Stop(); }

  std::atomic<int> init_calls{0};
  std::atomic<bool> registered{false};
  std::atomic<bool> cleaned_up{false};

 protected:
  void Init() override {
    ++init_calls;
    registered = ThreadManager::RegisterThread(identifier_);
  }
  void Cleanup() override {
    ThreadManager::UnregisterThread();
    cleaned_up = true;
  }

 private:
  int identifier_;
};

// Counts its own destruction; captured by tasks to see whether they were destroyed.
struct Sentinel {
  std::atomic<int>* destroyed;
  ~Sentinel() { ++*destroyed; }
};

// Runs fn on the identifier's thread and waits for its result.
template <typename Fn>
auto RunOn(int identifier, Fn fn) {
  std::promise<decltype(fn())> result;
  auto future = result.get_future();
  EXPECT_TRUE(ThreadManager::PostTask(identifier, [&] { result.set_value(fn()); }));
  return future.get();
}

class FrameworkThreadTest : public ::testing::Test {
 protected:
  Watchdog watchdog_;
};

TEST_F(FrameworkThreadTest, PostsByIdentifierRunOnTheRegisteredThreadUntilCleanup) {
  auto misc = std::make_unique<RegisteredThread>("Global Misc Thread", kThreadGlobalMisc);
  ASSERT_TRUE(misc->StartWithLoop(MessageLoop::kDefaultMessageLoop));
  // StartWithLoop returns only after Init (and so the registration) has happened.
  EXPECT_TRUE(misc->registered);
  EXPECT_EQ(RunOn(kThreadGlobalMisc, [] { return ThreadManager::QueryThreadId(); }), kThreadGlobalMisc);
  EXPECT_NE(RunOn(kThreadGlobalMisc, [] { return std::this_thread::get_id(); }), std::this_thread::get_id());
  EXPECT_TRUE(RunOn(kThreadGlobalMisc, [] { return MessageLoop::current() != nullptr; }));
  // Starting again does nothing.
  EXPECT_TRUE(misc->StartWithLoop(MessageLoop::kDefaultMessageLoop));
  EXPECT_EQ(misc->init_calls, 1);

  misc->Stop();
  EXPECT_TRUE(misc->cleaned_up);
  std::atomic<int> destroyed{0};
  bool ran = false;
  {
    auto sentinel = std::make_shared<Sentinel>(&destroyed);
    EXPECT_FALSE(ThreadManager::PostTask(kThreadGlobalMisc, [sentinel, &ran] { ran = true; }));
  }
  EXPECT_FALSE(ran);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(ThreadManager::GetMessageLoopProxy(kThreadGlobalMisc), nullptr);
}

TEST_F(FrameworkThreadTest, StopRunsQueuedTasksAndDestroysDelayedOnesUnrun) {
  RegisteredThread http("http Thread", kThreadHttp);
  ASSERT_TRUE(http.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> ran{0};
  std::atomic<int> destroyed{0};
  std::atomic<bool> delayed_ran{false};
  // Hold the thread busy so everything below is queued when the stop task arrives.
  ThreadManager::PostTask(kThreadHttp, [released] { released.wait(); });
  for (int i = 0; i < 5; ++i) ThreadManager::PostTask(kThreadHttp, [&] { ++ran; });
  {
    auto sentinel = std::make_shared<Sentinel>(&destroyed);
    ThreadManager::PostDelayedTask(
        kThreadHttp, [sentinel, &delayed_ran] { delayed_ran = true; }, TimeDelta::FromSeconds(60));
  }
  std::thread stopper([&] { http.Stop(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  release.set_value();
  stopper.join();
  EXPECT_EQ(ran, 5);
  EXPECT_FALSE(delayed_ran);
  EXPECT_EQ(destroyed, 1);
  EXPECT_FALSE(http.IsRunning());
}

TEST_F(FrameworkThreadTest, SecondRegistrationOfAnIdentifierIsRefused) {
  RegisteredThread first("first", kThreadGlobalMisc);
  RegisteredThread second("second", kThreadGlobalMisc);
  ASSERT_TRUE(first.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  ASSERT_TRUE(second.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  EXPECT_TRUE(first.registered);
  EXPECT_FALSE(second.registered);
  auto proxy = ThreadManager::GetMessageLoopProxy(kThreadGlobalMisc);
  ASSERT_NE(proxy, nullptr);
  EXPECT_EQ(proxy, first.message_loop()->message_loop_proxy());
  // The refused thread ends without touching the first one's entry.
  second.Stop();
  EXPECT_EQ(ThreadManager::GetMessageLoopProxy(kThreadGlobalMisc), proxy);
  EXPECT_FALSE(ThreadManager::RegisterThread(kThreadGlobalMisc));  // not a thread body
}

TEST_F(FrameworkThreadTest, RepeatedTasksRunTheirCountOrUntilTheOwnerDies) {
  RegisteredThread ui("ui", kThreadUI);
  ASSERT_TRUE(ui.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  struct Case {
    int times;
    int kill_after;  // destroy the owner after this many runs; 0: never
    int expected_runs;
  };
  for (const Case& c : {Case{3, 0, 3}, Case{1, 0, 1}, Case{-1, 4, 4}, Case{2, 1, 1}}) {
    SCOPED_TRACE(testing::Message() << "times " << c.times << " kill_after " << c.kill_after);
    std::atomic<int> runs{0};
    std::promise<void> done;
    // The owner lives and dies on the loop's thread, as the rule for weak callbacks asks.
    auto owner = std::make_shared<std::unique_ptr<WeakCallbackFlag>>();
    RunOn(kThreadUI, [&] {
      *owner = std::make_unique<WeakCallbackFlag>();
      Closure body = [&, owner] {
        ++runs;
        if (runs == c.kill_after) owner->reset();
        if (runs == c.expected_runs) done.set_value();
      };
      return ThreadManager::PostRepeatedTask(kThreadUI, (*owner)->ToWeakCallback(body),
                                             TimeDelta::FromMilliseconds(1), c.times);
    });
    done.get_future().wait();
    // Give a wrongly re-posted run the chance to show up.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    RunOn(kThreadUI, [&] { return owner->reset(), 0; });
    EXPECT_EQ(runs, c.expected_runs);
  }
  EXPECT_FALSE(ThreadManager::PostRepeatedTask(kThreadUI, WeakCallback<Closure>(), TimeDelta(), 0));
}

TEST_F(FrameworkThreadTest, LastProxyReferenceDroppedElsewhereDiesOnTheLoopThread) {
  RegisteredThread misc("misc", kThreadGlobalMisc);
  ASSERT_TRUE(misc.StartWithLoop(MessageLoop::kDefaultMessageLoop));
  // A second proxy of the misc loop, held only by this test.
  std::shared_ptr<MessageLoopProxy> proxy =
      RunOn(kThreadGlobalMisc, [] { return MessageLoopProxy::Create(MessageLoop::current()); });
  std::weak_ptr<WeakFlag> proxy_alive = proxy->GetWeakFlag();
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  ThreadManager::PostTask(kThreadGlobalMisc, [released] { released.wait(); });
  std::thread([p = std::move(proxy)]() mutable { p.reset(); }).join();
  EXPECT_FALSE(proxy_alive.expired());  // its deletion waits in the busy loop's queue
  release.set_value();
  RunOn(kThreadGlobalMisc, [] { return 0; });  // queued after the deletion
  EXPECT_TRUE(proxy_alive.expired());
  // Dropped on its own loop's thread, a proxy dies at once.
  bool gone_at_once = RunOn(kThreadGlobalMisc, [] {
    auto own = MessageLoopProxy::Create(MessageLoop::current());
    std::weak_ptr<WeakFlag> flag = own->GetWeakFlag();
    own.reset();
    return flag.expired();
  });
  EXPECT_TRUE(gone_at_once);
}

TEST_F(FrameworkThreadTest, IOThreadRunsTasksAndDeliversCompletions) {
  struct Handler : IOHandler {
    std::atomic<int> completions{0};
    std::thread::id thread;
    uint32_t bytes = 0;
    void OnIOCompleted(IOContext*, uint32_t transferred, uint32_t) override {
      thread = std::this_thread::get_id();
      bytes = transferred;
      ++completions;
    }
  } handler;
  RegisteredThread io("io", 9);
  ASSERT_TRUE(io.StartWithLoop(MessageLoop::kIOMessageLoop));
  EXPECT_EQ(io.message_loop()->type(), MessageLoop::kIOMessageLoop);
  auto* pump = static_cast<WinIOMessagePump*>(io.message_loop()->pump());
  IOContext context;
  context.handler = &handler;
  pump->port().Post(CompletionPacket{reinterpret_cast<uintptr_t>(&handler), 42, &context, 0});
  // A context whose handler went away is freed by the pump (a leak shows under ASan).
  pump->port().Post(CompletionPacket{reinterpret_cast<uintptr_t>(&handler), 1, new IOContext, 0});
  std::thread::id io_thread = RunOn(9, [] { return std::this_thread::get_id(); });
  std::promise<void> delayed;
  ThreadManager::PostDelayedTask(9, [&] { delayed.set_value(); }, TimeDelta::FromMilliseconds(5));
  delayed.get_future().wait();
  io.Stop();
  EXPECT_EQ(handler.completions, 1);
  EXPECT_EQ(handler.bytes, 42u);
  EXPECT_EQ(handler.thread, io_thread);
}

TEST_F(FrameworkThreadTest, CustomLoopComesFromTheFactory) {
  struct Factory : FrameworkThread::CustomMessageLoopFactory {
    std::atomic<int> made{0};
    std::unique_ptr<MessageLoop> CreateMessageLoop() override {
      ++made;
      return std::make_unique<MessageLoop>();
    }
  };
  auto factory = std::make_shared<Factory>();
  RegisteredThread custom("custom", 11);
  custom.set_custom_message_loop_factory(factory);
  ASSERT_TRUE(custom.StartWithLoop(MessageLoop::kCustomMessageLoop));
  EXPECT_TRUE(RunOn(11, [] { return true; }));
  custom.Stop();
  EXPECT_EQ(factory->made, 1);
  EXPECT_EQ(factory.use_count(), 1);  // released when the body ended
}

}  // namespace
}  // namespace nbase
