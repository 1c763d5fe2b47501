#include <cstdio>

#include "tools/skin/skin_command.h"
#include "tools/skin/skin_layout.h"
#include "ui/builder/layout_dump.h"

namespace skin_tool {
namespace {

int RunLayout(const std::vector<std::string>& args) {
  LaidOutSkin skin;
  std::vector<std::pair<std::string, std::string>> extra;
  if (int code = BuildLaidOutSkin(args, {}, &skin, &extra); code != kExitOk) return code;
  std::fputs(ui::DumpLayout(*skin.window->GetRoot()).c_str(), stdout);
  return kExitOk;
}

const SkinCommandRegistration kLayout(
    {"layout", "layout FILE --size W,H [--scale 100|125|150] [--global FILE] [--show|--hide NAME]...",
     "build with the global style sheet, lay out, print depth, element, name and rectangle per control",
     &RunLayout});

}  // namespace
}  // namespace skin_tool
