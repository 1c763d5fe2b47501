#include "ui/builder/layout_dump.h"

#include "ui/core/box.h"
#include "ui/markup/utf.h"

namespace ui {

namespace {

void DumpInto(const Control& control, int depth, std::string& out) {
  const UiRect& r = control.Pos();
  out += std::to_string(depth);
  out += ' ';
  out += control.GetElementName().empty() ? std::string("-") : Utf16ToUtf8(control.GetElementName());
  out += ' ';
  out += control.GetName().empty() ? std::string("-") : Utf16ToUtf8(control.GetName());
  out += ' ';
  out += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
  if (!control.IsVisible()) out += " hidden";
  out += '\n';
  if (const Box* box = dynamic_cast<const Box*>(&control)) {
    for (const auto& child : box->Items()) DumpInto(*child, depth + 1, out);
  }
}

}  // namespace

std::string DumpLayout(const Control& root) {
  std::string out;
  DumpInto(root, 0, out);
  return out;
}

}  // namespace ui
