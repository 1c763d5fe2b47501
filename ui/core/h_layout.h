#pragma once

#include "ui/core/line_layout.h"

namespace ui {

// Children in a row, left to right ("HBox").
class HLayout : public LineLayout {
 public:
  HLayout() : LineLayout(false) {}
};

}  // namespace ui
