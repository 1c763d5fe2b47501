#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/registry_key.h"
#include "platform/tests/test_support.h"

namespace platform {
namespace {

// The registry functions keep no state: threads may use one store at once.
TEST(RegistryThreadsTest, ThreadsWritingOneStoreLoseNothing) {
  test::TempDir dir;
  test::ScopedEnv config("XDG_CONFIG_HOME", dir.path().string());
  constexpr int kThreads = 4;
  constexpr int kWrites = 40;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      RegistryKey key = RegistryKey::Create(RegistryHive::kCurrentUser, "Software\\Threads");
      for (int i = 0; i < kWrites; ++i) {
        std::string name = "t" + std::to_string(t) + "-" + std::to_string(i);
        if (key.WriteString(name, std::to_string(i)) != RegStatus::kOk) ++failures[t];
        std::string back;
        if (key.ReadString(name, &back) != RegStatus::kOk || back != std::to_string(i)) {
          ++failures[t];
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
  std::vector<std::pair<std::string, std::string>> values;
  ASSERT_EQ(RegistryKey::Open(RegistryHive::kCurrentUser, "software\\threads").Values(&values),
            RegStatus::kOk);
  EXPECT_EQ(values.size(), static_cast<size_t>(kThreads * kWrites));
}

}  // namespace
}  // namespace platform
