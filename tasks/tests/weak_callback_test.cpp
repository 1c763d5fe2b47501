#include "tasks/weak_callback.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tasks/support_weak_callback.h"
#include "tasks/weak_callback_flag.h"

namespace nbase {
namespace {

struct Control : SupportWeakCallback {
  int clicks = 0;
  bool OnClick(int times) {
    clicks += times;
    return true;
  }
  bool has_flag() const { return weak_flag_.load() != nullptr; }
};

TEST(WeakCallbackTest, DeadCallbacksReturnTheZeroValueAndCopiesDieTogether) {
  auto control = std::make_unique<Control>();
  Control* raw = control.get();
  auto handler = control->ToWeakCallback(std::function<bool(int)>([raw](int n) { return raw->OnClick(n); }));
  auto copy = handler;
  EXPECT_TRUE(handler(2));
  EXPECT_TRUE(copy(3));
  EXPECT_EQ(control->clicks, 5);
  control.reset();
  EXPECT_TRUE(handler.Expired());
  EXPECT_TRUE(copy.Expired());
  EXPECT_FALSE(handler(1));  // a boolean handler of a destroyed control answers false
  EXPECT_FALSE(copy(1));
  EXPECT_TRUE(WeakCallback<std::function<void()>>().Expired());
}

TEST(WeakCallbackTest, CallbacksDoNotKeepTheOwnerAliveAndOwnersMakeTheirFlagLazily) {
  Control idle;
  EXPECT_FALSE(idle.has_flag());  // never handed out a callback: no flag to release
  Control busy;
  int runs = 0;
  auto callback = busy.ToWeakCallback([&runs] { ++runs; });
  EXPECT_EQ(busy.GetWeakFlag().use_count(), 2);  // only the owner's reference (plus this temporary)
  callback();
  EXPECT_EQ(runs, 1);
  Control copy_of_busy = busy;  // a copy is a new owner with no flag of its own
  EXPECT_FALSE(copy_of_busy.has_flag());
}

TEST(WeakCallbackTest, CancelKillsEarlierCallbacksAndLaterOnesWork) {
  WeakCallbackFlag flag;
  EXPECT_FALSE(flag.HasUsed());
  int old_runs = 0, new_runs = 0;
  auto old_callback = flag.ToWeakCallback([&] { ++old_runs; });
  flag.Cancel();
  EXPECT_FALSE(flag.HasUsed());
  auto new_callback = flag.ToWeakCallback([&] { ++new_runs; });
  old_callback();
  new_callback();
  EXPECT_EQ(old_runs, 0);
  EXPECT_EQ(new_runs, 1);
  EXPECT_TRUE(old_callback.Expired());
  EXPECT_FALSE(new_callback.Expired());
}

}  // namespace
}  // namespace nbase
