#include "tasks/timer_manager.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/messages/tests/watchdog.h"
#include "tasks/tests/test_loops.h"
#include "tasks/weak_callback_flag.h"

namespace nbase {
namespace {

// The service lives on the thread that first uses it: this test's main thread,
// which runs a window-message loop while a test waits for its timers.
class TimerManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { manager_ = TimerManager::GetInstance(); }
  void TearDown() override {
    loop_.reset();
    platform::Message m;
    while (platform::PeekMessage(&m, 0, 0, 0, platform::kPmRemove)) {
    }
  }
  // Runs the UI loop until done() holds, checking after every timer poll.
  template <typename Done>
  void RunUntil(Done done) {
    std::function<void()> check = [&] {
      if (done()) {
        MessageLoop::current()->Quit();
      } else {
        loop_->PostDelayedTask(check, TimeDelta::FromMilliseconds(5));
      }
    };
    loop_->PostTask(check);
    loop_->Run();
  }

  Watchdog watchdog_;
  std::unique_ptr<UIMessageLoop> loop_ = MakeUILoop();
  TimerManager* manager_ = nullptr;
};

TEST_F(TimerManagerTest, TimersRunTheirCountOnTheUIThreadThenTheTickerStops) {
  WeakCallbackFlag owner;
  const std::thread::id ui_thread = std::this_thread::get_id();
  int once = 0, thrice = 0;
  bool on_ui = true;
  manager_->AddTimer(owner.GetWeakFlag(), [&] { ++once; }, 5, 1);
  manager_->AddTimer(owner.GetWeakFlag(), [&] {
        ++thrice;
        on_ui = on_ui && std::this_thread::get_id() == ui_thread;
      }, 5, 3);
  EXPECT_TRUE(manager_->is_fast_mode());
  EXPECT_EQ(manager_->timer_period_ms(), TimerManager::kFastPeriodMs);
  RunUntil([&] { return manager_->pending_count() == 0; });
  EXPECT_EQ(once, 1);
  EXPECT_EQ(thrice, 3);
  EXPECT_TRUE(on_ui);
  EXPECT_EQ(manager_->timer_period_ms(), 0u);  // no ticker once the queue is empty
}

TEST_F(TimerManagerTest, TimersOfDeadOrCancelledOwnersAreDroppedUnrun) {
  auto window = std::make_unique<WeakCallbackFlag>();
  WeakCallbackFlag caret;
  int dead_runs = 0, cancelled_runs = 0, fresh_runs = 0, forever_runs = 0;
  manager_->AddTimer(window->GetWeakFlag(), [&] { ++dead_runs; }, 10, 1);
  window.reset();  // owner destroyed before the timer is due
  manager_->AddTimer(caret.GetWeakFlag(), [&] { ++cancelled_runs; }, 10, -1);
  caret.Cancel();
  manager_->AddTimer(caret.GetWeakFlag(), [&] { ++fresh_runs; }, 10, 2);
  WeakCallbackFlag animation;
  manager_->AddTimer(animation.GetWeakFlag(), [&] {
        if (++forever_runs == 4) animation.Cancel();
      }, 5, -1);
  RunUntil([&] { return manager_->pending_count() == 0; });
  EXPECT_EQ(dead_runs, 0);
  EXPECT_EQ(cancelled_runs, 0);
  EXPECT_EQ(fresh_runs, 2);
  EXPECT_EQ(forever_runs, 4);
  EXPECT_EQ(manager_->timer_period_ms(), 0u);
}

TEST_F(TimerManagerTest, FarTimerSwitchesToOneLongTickAndANearOneBackToSixteen) {
  WeakCallbackFlag owner;
  int far_runs = 0, near_runs = 0;
  manager_->AddTimer(owner.GetWeakFlag(), [&] { ++far_runs; }, 5000, 1);
  // The first 16 ms tick finds everything a second or more away.
  RunUntil([&] { return !manager_->is_fast_mode(); });
  EXPECT_GE(manager_->timer_period_ms(), 4900u);
  EXPECT_LE(manager_->timer_period_ms(), 5002u);
  manager_->AddTimer(owner.GetWeakFlag(), [&] { ++near_runs; }, 20, 1);
  EXPECT_TRUE(manager_->is_fast_mode());
  EXPECT_EQ(manager_->timer_period_ms(), TimerManager::kFastPeriodMs);
  RunUntil([&] { return near_runs == 1 && !manager_->is_fast_mode(); });
  EXPECT_EQ(far_runs, 0);
  owner.Cancel();  // the far timer is dropped at its due time; nothing else changes
}

}  // namespace
}  // namespace nbase
