#pragma once

#include "platform/geometry.h"

namespace ui {

using UiRect = platform::Rect;
using UiSize = platform::Size;
using UiPoint = platform::Point;

// Control sizes: a pixel count, or one of these.
constexpr int kSizeStretch = -1;
constexpr int kSizeAuto = -2;

}  // namespace ui
