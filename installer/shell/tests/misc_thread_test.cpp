#include "installer/shell/misc_thread.h"

#include <gtest/gtest.h>

#include <thread>

#include "tasks/thread_id.h"
#include "tasks/thread_manager.h"
#include "tasks/waitable_event.h"

namespace {

TEST(MiscThread, ReachableByIdentifierOnlyWhileRunning) {
  std::thread::id worker_id;
  {
    MiscThread worker("http Thread", nbase::kThreadHttp);
    ASSERT_TRUE(worker.StartWithLoop(nbase::MessageLoop::kDefaultMessageLoop));
    nbase::WaitableEvent ran;
    ASSERT_TRUE(nbase::ThreadManager::PostTask(nbase::kThreadHttp, [&] {
      worker_id = std::this_thread::get_id();
      ran.Signal();
    }));
    ASSERT_TRUE(ran.TimedWait(10000));  // watchdog
    EXPECT_NE(worker_id, std::this_thread::get_id());
  }  // the destructor stops, joins and unregisters
  EXPECT_FALSE(nbase::ThreadManager::PostTask(nbase::kThreadHttp, [] {}));
}

TEST(MiscThread, NegativeIdentifierRegistersNothing) {
  MiscThread worker("unnamed", -1);
  ASSERT_TRUE(worker.StartWithLoop(nbase::MessageLoop::kDefaultMessageLoop));
  EXPECT_FALSE(nbase::ThreadManager::PostTask(nbase::kThreadGlobalMisc, [] {}));
  worker.Stop();
}

}  // namespace
