#include "tasks/win_ui_message_pump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "platform/messages/tests/watchdog.h"
#include "tasks/dispatcher.h"
#include "tasks/tests/test_loops.h"

namespace nbase {
namespace {

using platform::LParam;
using platform::LResult;
using platform::Message;
using platform::WindowHandle;
using platform::WParam;

// A message window whose user messages go to a function of the test.
struct TestWindow {
  std::function<void(uint32_t)> on_message;
  std::vector<uint32_t> seen;
  WindowHandle handle = 0;

  TestWindow() {
    platform::RegisterWindowClass("PumpTestWindow", &Proc);
    handle = platform::CreateMessageWindow("PumpTestWindow", this);
  }
  ~TestWindow() { platform::DestroyWindow(handle); }
  void Post(uint32_t message) { platform::PostMessage(handle, message, 0, 0); }

  static LResult Proc(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
    auto* self = static_cast<TestWindow*>(platform::GetWindowUserData(window));
    if (self && message >= platform::kUser) {
      self->seen.push_back(message);
      if (self->on_message) self->on_message(message);
      return 0;
    }
    return platform::DefWindowProc(window, message, wparam, lparam);
  }
};

struct RecordingObserver : UIObserver {
  std::vector<uint32_t> will, did;
  void WillProcessMessage(const Message& m) override { will.push_back(m.message); }
  void DidProcessMessage(const Message& m) override { did.push_back(m.message); }
};

class UIMessagePumpTest : public ::testing::Test {
 protected:
  void TearDown() override {
    window_.reset();
    loop_.reset();
    // Leave nothing (a re-posted quit, say) for the next test's loop.
    Message m;
    while (platform::PeekMessage(&m, 0, 0, 0, platform::kPmRemove)) {
    }
  }
  auto Record(int n) {
    return [this, n] { order_.push_back(n); };
  }

  Watchdog watchdog_;
  std::unique_ptr<UIMessageLoop> loop_ = MakeUILoop();
  std::unique_ptr<TestWindow> window_ = std::make_unique<TestWindow>();
  std::vector<int> order_;
};

TEST_F(UIMessagePumpTest, ThousandPostsFromAWorkerQueueOneWakeUpAndAllRunOnTheUIThread) {
  const std::thread::id ui_thread = std::this_thread::get_id();
  int ran = 0;
  bool all_on_ui = true;
  std::thread([&] {
    for (int i = 0; i < 1000; ++i) {
      loop_->PostTask([&] {
        ++ran;
        all_on_ui = all_on_ui && std::this_thread::get_id() == ui_thread;
      });
    }
  }).join();
  std::vector<Message> queued;
  Message m;
  while (platform::PeekMessage(&m, 0, 0, 0, platform::kPmRemove)) queued.push_back(m);
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].message, WinUIMessagePump::kWorkMessage);
  EXPECT_EQ(queued[0].window, UIPumpOf(loop_.get())->message_window());
  platform::PostMessage(queued[0].window, queued[0].message, queued[0].wparam, queued[0].lparam);
  PostQuit(loop_.get());
  loop_->Run();
  EXPECT_EQ(ran, 1000);
  EXPECT_TRUE(all_on_ui);
}

TEST_F(UIMessagePumpTest, NonNestableTaskReachedInANestedRunWaitsForTheOuterRun) {
  window_->on_message = [&](uint32_t) {
    // A message handler (not a task) entering a nested run, as a modal dialog does.
    loop_->PostNonNestableTask(Record(2));
    loop_->PostTask(Record(1));
    PostQuit(loop_.get());
    loop_->Run();
    EXPECT_EQ(loop_->run_depth(), 1);
    order_.push_back(3);
    PostQuit(loop_.get());
  };
  window_->Post(platform::kUser + 1);
  loop_->Run();
  EXPECT_EQ(order_, (std::vector<int>{1, 3, 2}));
}

TEST_F(UIMessagePumpTest, TaskPostedByATaskDoesNotRunInsideItsModalLoop) {
  bool seen = false;
  window_->on_message = [&](uint32_t) { seen = true; };
  loop_->PostTask([&] {
    loop_->PostTask(Record(2));
    window_->Post(platform::kUser + 2);
    Message m;
    // A native modal loop inside the task; the pump's wake-up passes through it.
    while (!seen && platform::GetMessage(&m, 0, 0, 0)) platform::DispatchMessage(m);
    order_.push_back(1);
  });
  PostQuit(loop_.get());
  loop_->Run();
  EXPECT_EQ(order_, (std::vector<int>{1, 2}));
}

TEST_F(UIMessagePumpTest, DelayedTaskInsideAModalLoopRunsFromTheTenMillisecondWindowTimer) {
  using Clock = std::chrono::steady_clock;
  Clock::duration elapsed{};
  window_->on_message = [&](uint32_t) {
    bool done = false;
    auto start = Clock::now();
    loop_->PostDelayedTask(
        [&] {
          elapsed = Clock::now() - start;
          done = true;
        },
        TimeDelta::FromMilliseconds(3));
    Message m;
    while (!done && platform::GetMessage(&m, 0, 0, 0)) platform::DispatchMessage(m);
    PostQuit(loop_.get());
  };
  window_->Post(platform::kUser + 3);
  loop_->Run();
  // The timer period never goes below 10 ms, however close the deadline.
  EXPECT_GE(elapsed, std::chrono::milliseconds(9));
}

TEST_F(UIMessagePumpTest, QuitMessageEndsTheNestedRunAndTheOuterOne) {
  bool nested_ended = false;
  window_->on_message = [&](uint32_t) {
    platform::PostQuitMessage(7);
    loop_->Run();
    nested_ended = true;
  };
  window_->Post(platform::kUser + 4);
  loop_->Run();
  EXPECT_TRUE(nested_ended);
  Message m;
  ASSERT_TRUE(platform::PeekMessage(&m, 0, 0, 0, platform::kPmRemove));
  EXPECT_EQ(m.message, platform::kQuit);  // re-posted for any enclosing loop
  EXPECT_EQ(m.wparam, 7u);
}

TEST_F(UIMessagePumpTest, HookConsumedMessageIsNeitherDispatchedNorObserved) {
  RecordingObserver observer;
  UIPumpOf(loop_.get())->AddObserver(&observer);
  int hook = platform::AddMessageHook([](int code, Message& m) {
    return code == WinUIMessagePump::kMessageFilterCode && m.message == platform::kUser + 5;
  });
  window_->on_message = [&](uint32_t message) {
    if (message == platform::kUser + 6) loop_->Quit();
  };
  window_->Post(platform::kUser + 5);
  window_->Post(platform::kUser + 6);
  loop_->Run();
  platform::RemoveMessageHook(hook);
  UIPumpOf(loop_.get())->RemoveObserver(&observer);
  EXPECT_EQ(window_->seen, std::vector<uint32_t>{platform::kUser + 6});
  EXPECT_EQ(observer.will, std::vector<uint32_t>{platform::kUser + 6});
  EXPECT_EQ(observer.did, std::vector<uint32_t>{platform::kUser + 6});
}

TEST_F(UIMessagePumpTest, DispatcherReturningFalseEndsTheRunAfterTheAfterNotice) {
  struct StopAt : Dispatcher {
    std::vector<uint32_t> dispatched;
    bool Dispatch(const Message& m) override {
      dispatched.push_back(m.message);
      return m.message != platform::kUser + 7;
    }
  } dispatcher;
  RecordingObserver observer;
  UIPumpOf(loop_.get())->AddObserver(&observer);
  window_->Post(platform::kUser + 7);
  window_->Post(platform::kUser + 8);
  loop_->RunWithDispatcher(&dispatcher);
  UIPumpOf(loop_.get())->RemoveObserver(&observer);
  EXPECT_EQ(dispatcher.dispatched, std::vector<uint32_t>{platform::kUser + 7});
  EXPECT_EQ(observer.did, std::vector<uint32_t>{platform::kUser + 7});
  EXPECT_TRUE(window_->seen.empty());  // the dispatcher, not the window, got it
}

TEST_F(UIMessagePumpTest, WakeUpTakenOutsideAnyRunOnlyClearsTheFlag) {
  loop_->PostTask(Record(1));
  // Another message loop (a system prompt before the UI loop runs) dispatches the wake-up.
  Message m;
  while (platform::PeekMessage(&m, 0, 0, 0, platform::kPmRemove)) platform::DispatchMessage(m);
  EXPECT_TRUE(order_.empty());
  // Nothing is lost: the run looks at the queues on its first turn.
  loop_->PostTask(Record(2));
  PostQuit(loop_.get());
  loop_->Run();
  EXPECT_EQ(order_, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace nbase
