// A small program the platform tests start as a real child process.
//   channel            print the embedded channel ("<none>" and code 3 without one)
//   version            print the embedded file version ("<none>" and code 3)
//   exit N             exit with code N
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/embedded_resources.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  std::string command = argv[1];
  if (command == "channel") return Channel();
  if (command == "version") return Version();
  if (command == "exit" && argc > 2) return std::atoi(argv[2]);
  std::fprintf(stderr, "test_helper: unknown command %s\n", command.c_str());
  return 64;
}
