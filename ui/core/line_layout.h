#pragma once

#include "ui/core/layout.h"

namespace ui {

// Children one after another along one axis: the arithmetic shared by the
// row (HLayout) and column (VLayout) layouts, which differ only in the axis.
// "Stretch" children share what the fixed ones leave; the first leftover
// pixels go one each to the first stretch children.
class LineLayout : public Layout {
 public:
  explicit LineLayout(bool vertical) : vertical_(vertical) {}

  UiSize ArrangeChildren(const ControlList& children, UiRect rect) override;
  UiSize MeasureChildren(const ControlList& children, UiSize available) override;

  bool IsVertical() const { return vertical_; }

 private:
  const bool vertical_;
};

}  // namespace ui
