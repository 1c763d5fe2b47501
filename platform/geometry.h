#pragma once

#include <algorithm>
#include <cstdint>

// Window-client geometry shared by every layer: 32-bit signed pixels,
// rectangles are (left, top, right, bottom) with right/bottom exclusive.
namespace platform {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void Offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  // Empty result (all zero) when the two do not overlap.
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    return r.IsEmpty() ? Rect{} : r;
  }
  Rect Union(const Rect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
