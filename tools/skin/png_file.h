#pragma once

#include <string>

namespace ui {
class IRenderContext;
}

namespace skin_tool {

// Writes the render context's pixels (premultiplied BGRA) as an RGBA PNG.
// False when the file cannot be written.
bool WritePng(ui::IRenderContext& render, const std::string& path);

}  // namespace skin_tool
