#pragma once

#include <string>

namespace ui {

class Control;

// One line per control in tree order: depth, element name, control name
// ("-" when empty) and position "left,top,right,bottom", e.g.
// "2 Button btn_exit 540,10,564,34". Hidden controls are listed too, with
// their last position and a trailing " hidden".
std::string DumpLayout(const Control& root);

}  // namespace ui
