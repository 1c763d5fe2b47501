// lumora-skin: developer tool for skin markup and packages.
//   lumora-skin COMMAND ARGS...   (see "lumora-skin help")
// Exit codes: 0 success, 1 parse error, 2 bad usage.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/skin/skin_command.h"

namespace {

int Usage(std::FILE* out, int code) {
  std::fprintf(out, "usage: lumora-skin COMMAND ARGS...\n\ncommands:\n");
  for (const skin_tool::SkinCommand& command : skin_tool::Commands()) {
    std::fprintf(out, "  %-36s %s\n", command.usage, command.summary);
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(stderr, skin_tool::kExitUsage);
  std::string_view name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") return Usage(stdout, skin_tool::kExitOk);
  for (const skin_tool::SkinCommand& command : skin_tool::Commands()) {
    if (name != command.name) continue;
    std::vector<std::string> args(argv + 2, argv + argc);
    int code = command.run(args);
    if (code == skin_tool::kExitUsage) std::fprintf(stderr, "usage: lumora-skin %s\n", command.usage);
    return code;
  }
  std::fprintf(stderr, "lumora-skin: unknown command \"%s\"\n", argv[1]);
  return Usage(stderr, skin_tool::kExitUsage);
}
