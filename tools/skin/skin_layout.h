#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/headless_window.h"

namespace skin_tool {

// A skin built with its global style sheet and laid out at a client size,
// for the layout and render commands:
//   FILE|PACKAGE.zip:PATH --size W,H [--scale 100|125|150] [--global FILE]
//   [--show NAME] [--hide NAME] ... (applied in order before the layout, to
//   look at pages the skin starts hidden)
// The theme folder is the folder above the skin's own folder (as
// "themes/default/" is above "basic/basic.xml"); its "global.xml" is the
// style sheet unless --global names another (a file, or PACKAGE.zip:PATH).
struct LaidOutSkin {
  std::unique_ptr<ui::HeadlessWindow> window;
  ui::UiSize size;
  std::string package_bytes;  // kept alive while the package is open
};

// Options the caller handles itself ("--out") are returned in `extra`
// (name and value). kExitOk, kExitUsage (nothing printed) or kExitParseError
// (the reason printed).
int BuildLaidOutSkin(const std::vector<std::string>& args, const std::vector<std::string>& extra_options,
                     LaidOutSkin* skin, std::vector<std::pair<std::string, std::string>>* extra);

}  // namespace skin_tool
