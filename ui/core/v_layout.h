#pragma once

#include "ui/core/line_layout.h"

namespace ui {

// Children in a column, top to bottom ("VBox").
class VLayout : public LineLayout {
 public:
  VLayout() : LineLayout(true) {}
};

}  // namespace ui
