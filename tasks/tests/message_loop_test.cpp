#include "tasks/message_loop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/messages/tests/watchdog.h"
#include "tasks/message_loop_proxy.h"
#include "tasks/observer_list.h"
#include "tasks/tests/test_loops.h"
#include "tasks/time_ticks.h"

namespace nbase {
namespace {

// Exposes the loop's entry point so tests can queue tasks with exact deadlines.
class TestLoop : public MessageLoop {
 public:
  using MessageLoop::AddToIncomingQueue;
  void Add(int64_t deadline, Closure closure, bool nestable = true) {
    PendingTask task;
    task.deadline = deadline;
    task.nestable = nestable;
    task.closure = std::move(closure);
    AddToIncomingQueue(std::move(task));
  }
};

class MessageLoopTest : public ::testing::Test {
 protected:
  Watchdog watchdog_;
  std::vector<int> order_;
  auto Record(int n) {
    return [this, n] { order_.push_back(n); };
  }
};

TEST_F(MessageLoopTest, TasksFromAnotherThreadRunInPostingOrderOnePerDoWork) {
  TestLoop loop;
  std::thread([&] {
    for (int i = 1; i <= 3; ++i) loop.PostTask(Record(i));
  }).join();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(loop.DoWork());
    EXPECT_EQ(order_.size(), static_cast<size_t>(i));
  }
  EXPECT_FALSE(loop.DoWork());
  EXPECT_EQ(order_, (std::vector<int>{1, 2, 3}));
}

TEST_F(MessageLoopTest, DelayedTasksRunByDeadlineThenByPostingOrder) {
  TestLoop loop;
  int64_t now = TimeTicks::Now();
  loop.Add(now - 5000, Record(1));
  loop.Add(now - 5000, Record(2));
  loop.Add(now - 9000, Record(3));  // earlier deadline, posted later
  loop.Add(now - 5000, Record(4));
  EXPECT_FALSE(loop.DoWork());  // all moved into the delayed queue
  int64_t next = -1;
  while (loop.DoDelayedWork(&next)) {
  }
  EXPECT_EQ(order_, (std::vector<int>{3, 1, 2, 4}));
  EXPECT_EQ(next, 0);
}

TEST_F(MessageLoopTest, ZeroDelayGoesThroughTheDelayedQueueButNotThroughTheProxy) {
  TestLoop loop;
  loop.PostDelayedTask(Record(1), TimeDelta());
  EXPECT_FALSE(loop.DoWork());
  int64_t next = 0;
  EXPECT_TRUE(loop.DoDelayedWork(&next));
  loop.message_loop_proxy()->PostDelayedTask(Record(2), TimeDelta());
  EXPECT_TRUE(loop.DoWork());
  EXPECT_EQ(order_, (std::vector<int>{1, 2}));
}

TEST_F(MessageLoopTest, FutureDeadlineIsReportedAndRunsWhenDue) {
  MessageLoop loop;
  int64_t posted = TimeTicks::Now();
  loop.PostDelayedTask(
      [&] {
        order_.push_back(1);
        MessageLoop::current()->Quit();
      },
      TimeDelta::FromMilliseconds(30));
  loop.Run();
  EXPECT_EQ(order_, (std::vector<int>{1}));
  EXPECT_GE(TimeTicks::Now() - posted, 29000);
}

TEST_F(MessageLoopTest, QuitWaitsForQueuedTasksAndTasksPostedByTasksRunAfterThem) {
  MessageLoop loop;
  PostQuit(&loop);
  loop.PostTask([&] {
    order_.push_back(1);
    loop.PostTask(Record(3));
  });
  loop.PostTask(Record(2));
  loop.Run();
  EXPECT_EQ(order_, (std::vector<int>{1, 2, 3}));
}

struct CountingObserver : TaskObserver {
  int will = 0, did = 0;
  void WillProcessTask() override { ++will; }
  void DidProcessTask() override { ++did; }
};

TEST_F(MessageLoopTest, EmptyClosureIsSkippedButObserved) {
  TestLoop loop;
  CountingObserver observer;
  loop.AddTaskObserver(&observer);
  loop.PostTask(Closure());
  EXPECT_TRUE(loop.DoWork());
  EXPECT_EQ(observer.will, 1);
  EXPECT_EQ(observer.did, 1);
  loop.RemoveTaskObserver(&observer);
}

// Destroying it posts another like it: a chain that never ends by itself.
struct Reposter {
  int* destroyed;
  ~Reposter() {
    ++*destroyed;
    if (MessageLoop* loop = MessageLoop::current()) {
      auto next = std::make_shared<Reposter>(destroyed);
      loop->PostDelayedTask([next] {}, TimeDelta::FromSeconds(60));
    }
  }
};

TEST_F(MessageLoopTest, DestructionDestroysPendingTasksUnrunInBoundedRounds) {
  int destroyed = 0;
  bool ran = false;
  std::shared_ptr<MessageLoopProxy> proxy;
  {
    MessageLoop loop;
    proxy = loop.message_loop_proxy();
    auto first = std::make_shared<Reposter>(&destroyed);
    loop.PostDelayedTask([first, &ran] { ran = true; }, TimeDelta::FromSeconds(60));
    first.reset();
    loop.PostTask([&ran] { ran = true; });
  }
  EXPECT_FALSE(ran);
  // One per round for 100 rounds, then the one posted by the last is destroyed
  // with the queues, without reposting (the loop is no longer current).
  EXPECT_EQ(destroyed, 101);
  EXPECT_EQ(MessageLoop::current(), nullptr);
  // The proxy outlives its loop and refuses posts.
  EXPECT_FALSE(proxy->PostTask([&ran] { ran = true; }));
  EXPECT_FALSE(proxy->BelongsToCurrentThread());
}

struct DestructionRecorder : DestructionObserver {
  std::vector<int>* order;
  explicit DestructionRecorder(std::vector<int>* o) : order(o) {}
  void WillDestroyCurrentMessageLoop() override { order->push_back(MessageLoop::current() ? 1 : 0); }
};

TEST_F(MessageLoopTest, DestructionObserversAreToldWhileTheLoopIsStillCurrent) {
  DestructionRecorder recorder(&order_);
  {
    MessageLoop loop;
    loop.AddDestructionObserver(&recorder);
  }
  EXPECT_EQ(order_, (std::vector<int>{1}));
}

struct SelfRemover {
  ObserverList<SelfRemover>* list;
  int calls = 0;
  SelfRemover* to_add = nullptr;
  void Notice() {
    ++calls;
    list->RemoveObserver(this);
    if (to_add) list->AddObserver(std::exchange(to_add, nullptr));
  }
};

TEST_F(MessageLoopTest, ObserverRemovingItselfIsSkippedAndErasedAfterThePass) {
  ObserverList<SelfRemover> list;
  SelfRemover a{&list}, b{&list}, added{&list};
  a.to_add = &added;
  list.AddObserver(&a);
  list.AddObserver(&a);  // twice: the second entry survives the first removal
  list.AddObserver(&b);
  list.Notify([](SelfRemover* o) { o->Notice(); });
  // a: first entry removed, second entry called and removed; added: notified in the same pass.
  EXPECT_EQ(a.calls, 2);
  EXPECT_EQ(b.calls, 1);
  EXPECT_EQ(added.calls, 1);
  EXPECT_TRUE(list.empty());
}

TEST_F(MessageLoopTest, IdleEventPumpSleepsUntilWorkIsPostedFromAnotherThread) {
  std::thread::id ran_on;
  std::shared_ptr<MessageLoopProxy> proxy;
  std::thread worker;
  {
    MessageLoop loop;
    proxy = loop.message_loop_proxy();
    worker = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      proxy->PostTask([&] {
        ran_on = std::this_thread::get_id();
        MessageLoop::current()->Quit();
      });
    });
    loop.Run();
    worker.join();
  }
  EXPECT_EQ(ran_on, std::this_thread::get_id());
}

}  // namespace
}  // namespace nbase
