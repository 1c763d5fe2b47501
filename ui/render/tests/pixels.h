#pragma once

#include <cstdint>
#include <cstring>

#include "ui/render/render_context.h"

namespace ui::testing {

// Premultiplied ARGB of a device pixel.
inline uint32_t PixelAt(IRenderContext& context, int x, int y) {
  uint32_t pixel;
  std::memcpy(&pixel, context.GetBits() + static_cast<ptrdiff_t>(y) * context.GetStride() + x * 4, 4);
  return pixel;
}

inline int AlphaAt(IRenderContext& context, int x, int y) { return static_cast<int>(PixelAt(context, x, y) >> 24); }

// The bounding box of every pixel with alpha above `threshold`; empty when none.
inline UiRect InkBounds(IRenderContext& context, int threshold = 0) {
  const UiSize size = context.GetSize();
  UiRect box{size.cx, size.cy, 0, 0};
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      if (AlphaAt(context, x, y) > threshold) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
  }
  return box.IsEmpty() ? UiRect{} : box;
}

}  // namespace ui::testing
