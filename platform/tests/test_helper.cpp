// A small program the platform tests start as a real child process.
//   channel            print the embedded channel ("<none>" and code 3 without one)
//   version            print the embedded file version ("<none>" and code 3)
//   exit N             exit with code N
//   reg-write N PREFIX write N values "PREFIX-i" = "i" into HKCU\Stress, one
//                      transaction each; code 1 when a write failed
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/embedded_resources.h"
#include "platform/registry_key.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  std::string command = argv[1];
  if (command == "channel") return Channel();
  if (command == "version") return Version();
  if (command == "exit" && argc > 2) return std::atoi(argv[2]);
  if (command == "reg-write" && argc > 3) return RegWrite(std::atoi(argv[2]), argv[3]);
  std::fprintf(stderr, "test_helper: unknown command %s\n", command.c_str());
  return 64;
}
