// The platform calls the installer makes on its start-up path and during the
// setup run: registry reads and writes (each one opens the store), the process
// snapshot, and command-line splitting.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/registry_key.h"
#include "platform/tests/test_support.h"

namespace {

using platform::RegistryHive;
using platform::RegistryKey;

const char kAppKey[] = "Software\\zorv\\lumora\\AppInfo";

void BM_RegistryReadString(benchmark::State& state) {
  platform::test::TempDir dir;
  platform::test::ScopedEnv config("XDG_CONFIG_HOME", dir.path().string());
  RegistryKey::Create(RegistryHive::kCurrentUser, kAppKey)
      .WriteString("UniqueId", "900150983CD24FB0D6963F7D28E17F72");
  for (auto _ : state) {
    std::string value;
    RegistryKey::Open(RegistryHive::kCurrentUser, kAppKey).ReadString("UniqueId", &value);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_RegistryReadString)->Unit(benchmark::kMicrosecond);

void BM_RegistryWriteString(benchmark::State& state) {
  platform::test::TempDir dir;
  platform::test::ScopedEnv config("XDG_CONFIG_HOME", dir.path().string());
  RegistryKey key = RegistryKey::Create(RegistryHive::kCurrentUser, kAppKey);
  int i = 0;
  for (auto _ : state) {
    key.WriteString("InstallerPath", "/opt/zorv/lumora/" + std::to_string(i++));
  }
}
BENCHMARK(BM_RegistryWriteString)->Unit(benchmark::kMillisecond);

void BM_FindProcessesByName(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::FindProcessesByName("lumora.exe"));
  }
}
BENCHMARK(BM_FindProcessesByName)->Unit(benchmark::kMicrosecond);

void BM_SplitCommandLine(benchmark::State& state) {
  const std::string line =
      "\"/home/user/.local/share/zorv/lumora/Files/zorvlumoraInstaller.exe\" /S "
      "\"/D=C:\\Program Files (x86)\\zorv\\lumora\" installPath:D:\\Tools channel:abc_upgrade";
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::SplitCommandLine(line));
  }
}
BENCHMARK(BM_SplitCommandLine);

}  // namespace
