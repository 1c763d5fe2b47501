// A small program the platform tests start as a real child process.
//   channel            print the embedded channel ("<none>" and code 3 without one)
//   version            print the embedded file version ("<none>" and code 3)
//   exit N             exit with code N
//   args ...           print each argument as [arg] on its own line
//   sleep MS           sleep, then exit 0
//   kill-self SIGNAL   end by that signal
//   fds                print how many descriptors above 2 are open
//   lock NAME [MARKER] take the single-instance lock NAME; print "acquired",
//                      "running" (code 1) or "failed" (code 2); once acquired
//                      with MARKER, create that file and sleep for a minute
//   reg-write N PREFIX write N values "PREFIX-i" = "i" into HKCU\Stress, one
//                      transaction each; code 1 when a write failed
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "platform/embedded_resources.h"
#include "platform/registry_key.h"
#include "platform/single_instance.h"

namespace {

int Channel() {
  auto bytes = platform::FindEmbeddedResource(platform::kChannelResourceType,
                                              platform::kChannelResourceId);
  if (!bytes) {
    std::puts("<none>");
    return 3;
  }
  std::string text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  std::printf("[%s]\n", text.c_str());
  return 0;
}

int Version() {
  auto v = platform::EmbeddedFileVersion();
  if (!v) {
    std::puts("<none>");
    return 3;
  }
  std::printf("%u.%u.%u.%u\n", v->major, v->minor, v->build, v->revision);
  return 0;
}

int RegWrite(int count, const std::string& prefix) {
  platform::RegistryKey key = platform::RegistryKey::Create(platform::RegistryHive::kCurrentUser,
                                                            "Stress");
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    std::string index = std::to_string(i);
    if (key.WriteString(prefix + "-" + index, index) != platform::RegStatus::kOk) ++failures;
  }
  if (failures > 0) std::fprintf(stderr, "test_helper: %d writes failed\n", failures);
  return failures > 0 ? 1 : 0;
}

int OpenDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return 64;
  int count = 0;
  while (dirent* entry = readdir(dir)) {
    int fd = std::atoi(entry->d_name);
    if (entry->d_name[0] != '.' && fd > 2 && fd != dirfd(dir)) ++count;
  }
  closedir(dir);
  std::printf("%d\n", count);
  return 0;
}

int Lock(const char* name, const char* marker) {
  switch (platform::AcquireSingleInstanceLock(name)) {
    case platform::SingleInstanceResult::kAcquired:
      break;
    case platform::SingleInstanceResult::kAlreadyRunning:
      std::puts("running");
      return 1;
    case platform::SingleInstanceResult::kFailed:
      std::puts("failed");
      return 2;
  }
  std::puts("acquired");
  std::fflush(stdout);
  if (marker != nullptr) {
    std::ofstream(marker) << getpid();
    std::this_thread::sleep_for(std::chrono::seconds(60));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  if (const char* out = getenv("TEST_HELPER_OUT"); out != nullptr && out[0] != '\0') {
    if (std::freopen(out, "a", stdout) == nullptr) return 65;
  }
  std::string command = argv[1];
  if (command == "channel") return Channel();
  if (command == "version") return Version();
  if (command == "exit" && argc > 2) return std::atoi(argv[2]);
  if (command == "args") {
    for (int i = 2; i < argc; ++i) std::printf("[%s]\n", argv[i]);
    return 0;
  }
  if (command == "sleep" && argc > 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
    return 0;
  }
  if (command == "kill-self" && argc > 2) {
    signal(std::atoi(argv[2]), SIG_DFL);
    raise(std::atoi(argv[2]));
    return 0;
  }
  if (command == "fds") return OpenDescriptors();
  if (command == "lock" && argc > 2) return Lock(argv[2], argc > 3 ? argv[3] : nullptr);
  if (command == "reg-write" && argc > 3) return RegWrite(std::atoi(argv[2]), argv[3]);
  std::fprintf(stderr, "test_helper: unknown command %s\n", command.c_str());
  return 64;
}
