#pragma once

#include "ui/core/geometry.h"

namespace ui {

// The display scale applied to skin sizes: a percentage (100 = no scaling)
// that takes effect only once the process is display-aware.
class DpiScaler {
 public:
  int Scale() const { return scale_; }
  bool Aware() const { return aware_; }
  void SetScale(int percent) { scale_ = percent; }
  void SetAware(bool aware) { aware_ = aware; }
  // Sets the scale from a display density in dots per inch: density x 100 / 96,
  // rounded to nearest (96 -> 100, 120 -> 125, 144 -> 150, 192 -> 200).
  void SetScaleFromDensity(int dpi);

  // v x scale / 100 rounded to nearest (halves away from zero), when aware and
  // the scale is not 100; else v. Callers keep "stretch" (-1) and "auto" (-2)
  // sizes away from it.
  int ScaleValue(int value) const;
  // Scales left and top; right and bottom become the scaled left and top plus
  // the scaled width and height (the size is scaled as a value, not the edges).
  UiRect ScaleRect(UiRect rect) const;

  // Rounded a x b / c (halves away from zero); 0 when c is 0.
  static int MulDiv(int a, int b, int c);

 private:
  int scale_ = 100;
  bool aware_ = false;
};

}  // namespace ui
