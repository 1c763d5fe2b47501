#include "platform/single_instance.h"

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/tests/test_support.h"

namespace platform {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest() : runtime_env_("XDG_RUNTIME_DIR", dir_.path().string()) {}
  std::vector<std::string> Env() const { return {"XDG_RUNTIME_DIR=" + dir_.path().string()}; }
  test::RunResult TryInChild(const std::string& name) {
    return test::RunHelper(test::HelperPath(), {"lock", name}, Env());
  }

  test::TempDir dir_;
  test::ScopedEnv runtime_env_;
};

TEST_F(SingleInstanceTest, LockFileLocation) {
  EXPECT_EQ(SingleInstanceLockPath("zorvLumoraInstaller"),
            (dir_.path() / "zorvLumoraInstaller.lock").string());
  test::ScopedEnv no_runtime("XDG_RUNTIME_DIR", "");
  EXPECT_EQ(SingleInstanceLockPath("a/b"), "/tmp/a_b-" + std::to_string(getuid()) + ".lock");
}

// This process holds the lock; other processes are refused until it is gone.
TEST_F(SingleInstanceTest, HeldForTheLifeOfTheProcess) {
  const std::string name = "lumora-test-held";
  EXPECT_EQ(TryInChild(name).out, "acquired\n");  // free again once that child ended
  ASSERT_EQ(AcquireSingleInstanceLock(name), SingleInstanceResult::kAcquired);
  EXPECT_EQ(AcquireSingleInstanceLock(name), SingleInstanceResult::kAlreadyRunning);
  test::RunResult second = TryInChild(name);
  EXPECT_EQ(second.code, 1);
  EXPECT_EQ(second.out, "running\n");
}

// A holder killed with SIGKILL frees the lock with it.
TEST_F(SingleInstanceTest, FreedWhenTheHolderIsKilled) {
  const std::string name = "lumora-test-killed";
  auto marker = dir_.path() / "holder-ready";
  int holder = test::StartChild(test::HelperPath(), {"lock", name, marker.string()}, Env());
  ASSERT_GT(holder, 0);
  ASSERT_TRUE(test::WaitForFile(marker));
  EXPECT_EQ(TryInChild(name).out, "running\n");
  EXPECT_EQ(AcquireSingleInstanceLock(name), SingleInstanceResult::kAlreadyRunning);

  kill(holder, SIGKILL);
  EXPECT_EQ(test::WaitChild(holder), 128 + SIGKILL);
  EXPECT_EQ(TryInChild(name).out, "acquired\n");
  EXPECT_EQ(AcquireSingleInstanceLock(name), SingleInstanceResult::kAcquired);
}

TEST_F(SingleInstanceTest, UnusableLockFolderFails) {
  test::ScopedEnv runtime("XDG_RUNTIME_DIR", "/proc");  // exists, but no file can be made there
  EXPECT_EQ(AcquireSingleInstanceLock("lumora-test-failed"), SingleInstanceResult::kFailed);
}

}  // namespace
}  // namespace platform
