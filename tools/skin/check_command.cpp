#include <cstdio>

#include "tools/skin/skin_command.h"

namespace skin_tool {
namespace {

int RunCheck(const std::vector<std::string>& args) {
  if (args.size() != 1) return kExitUsage;
  ui::MarkupDocument document;
  std::string error;
  if (!LoadMarkup(args[0], document, &error)) {
    std::printf("%s\n", error.c_str());
    return kExitParseError;
  }
  std::printf("ok\n");
  return kExitOk;
}

const SkinCommandRegistration kCheck({"check", "check FILE|PACKAGE.zip:PATH",
                                      "parse a markup file; print \"ok\" or the error and where it happened",
                                      &RunCheck});

}  // namespace
}  // namespace skin_tool
