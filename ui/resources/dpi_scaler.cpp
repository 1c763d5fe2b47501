#include "ui/resources/dpi_scaler.h"

#include <cstdint>

namespace ui {

int DpiScaler::MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t half = (c > 0 ? c : -static_cast<int64_t>(c)) / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = (product < 0 ? -product : product) + half;
  int64_t quotient = magnitude / (c > 0 ? c : -static_cast<int64_t>(c));
  return static_cast<int>(negative ? -quotient : quotient);
}

void DpiScaler::SetScaleFromDensity(int dpi) { scale_ = MulDiv(dpi, 100, 96); }

int DpiScaler::ScaleValue(int value) const {
  if (!aware_ || scale_ == 100) return value;
  return MulDiv(value, scale_, 100);
}

UiRect DpiScaler::ScaleRect(UiRect rect) const {
  if (!aware_ || scale_ == 100) return rect;
  int width = ScaleValue(rect.Width());
  int height = ScaleValue(rect.Height());
  rect.left = ScaleValue(rect.left);
  rect.top = ScaleValue(rect.top);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  return rect;
}

}  // namespace ui
