#include <cstdio>

#include "tools/skin/skin_command.h"

namespace skin_tool {
namespace {

int RunCheck(const std::vector<std::string>& args) {
  ui::MarkupDocument document;
  if (int code = LoadSingleArgument(args, document); code != kExitOk) return code;
  std::printf("ok\n");
  return kExitOk;
}

const SkinCommandRegistration kCheck({"check", "check FILE|PACKAGE.zip:PATH",
                                      "parse a markup file; print \"ok\" or the error and where it happened",
                                      &RunCheck});

}  // namespace
}  // namespace skin_tool
