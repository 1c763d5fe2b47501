#pragma once

#include "ui/core/layout.h"

namespace ui {

// Children in grid cells ("TileBox"): the column count is the available width
// divided by the item width when one is set, else "columns", at least 1.
class TileLayout : public Layout {
 public:
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  UiSize ArrangeChildren(const ControlList& children, UiRect rect) override;
  UiSize MeasureChildren(const ControlList& children, UiSize available) override;

  UiSize GetItemSize() const { return item_size_; }
  void SetItemSize(UiSize size);
  int GetColumns() const { return columns_; }
  void SetColumns(int columns);

 private:
  int ColumnsFor(int width) const;

  int columns_ = 0;
  UiSize item_size_;
};

}  // namespace ui
