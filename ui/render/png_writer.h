#pragma once

#include <string>

namespace ui {

class IRenderContext;

// Writes the context's pixels to a PNG file (alpha kept). False when the
// context is empty or the file cannot be written.
bool WritePng(IRenderContext& render, const std::string& path);

}  // namespace ui
