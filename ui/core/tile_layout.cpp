#include "ui/core/tile_layout.h"

#include <algorithm>

#include "ui/core/attribute_value.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/resources/global_resources.h"

namespace ui {

bool TileLayout::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"itemsize") {
    const UiSize size = ParsePair(value);
    const GlobalResources& res = GlobalResources::Instance();
    SetItemSize({res.ScaleValue(size.cx), res.ScaleValue(size.cy)});
    return true;
  }
  if (name == u"columns") {
    SetColumns(ParseInt(value));
    return true;
  }
  return Layout::SetAttribute(name, value);
}

void TileLayout::SetItemSize(UiSize size) {
  if (size == item_size_) return;
  item_size_ = size;
  if (owner_) owner_->RequestAncestorLayout();
}

void TileLayout::SetColumns(int columns) {
  if (columns < 1 || columns == columns_) return;
  columns_ = columns;
  if (owner_) owner_->RequestAncestorLayout();
}

int TileLayout::ColumnsFor(int width) const {
  int columns = item_size_.cx > 0 ? width / item_size_.cx : columns_;
  return std::max(columns, 1);
}

UiSize TileLayout::ArrangeChildren(const ControlList& children, UiRect rect) {
  // Cells are the item size when set; otherwise the width is shared by the
  // columns and each row is as high as its highest child.
  const int columns = ColumnsFor(rect.Width());
  const int cell_width =
      item_size_.cx > 0 ? item_size_.cx : std::max(rect.Width() - child_margin_ * (columns - 1), 0) / columns;
  int x = rect.left;
  int y = rect.top;
  int column = 0;
  int row_height = 0;
  int used_width = 0;
  for (const auto& child : children) {
    Control* c = child.get();
    if (PlaceOutOfFlow(c, rect)) continue;
    int cell_height = item_size_.cy;
    if (cell_height <= 0) {
      const UiRect margin = c->GetMargin();
      const UiSize size = c->Measure({cell_width - margin.left - margin.right, rect.Height()});
      cell_height = std::max(size.cy, 0) + margin.top + margin.bottom;
    }
    SetFloatPos(c, {x, y, x + cell_width, y + cell_height});
    row_height = std::max(row_height, cell_height);
    used_width = std::max(used_width, x + cell_width - rect.left);
    if (++column >= columns) {
      column = 0;
      x = rect.left;
      y += row_height + child_margin_;
      row_height = 0;
    } else {
      x += cell_width + child_margin_;
    }
  }
  return {used_width, y + row_height - rect.top};
}

UiSize TileLayout::MeasureChildren(const ControlList& children, UiSize available) {
  const int columns = ColumnsFor(available.cx);
  int count = 0;
  int tallest = 0;
  int widest = 0;
  for (const auto& child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const UiRect margin = child->GetMargin();
    const UiSize size = child->Measure(available);
    widest = std::max(widest, size.cx + margin.left + margin.right);
    tallest = std::max(tallest, size.cy + margin.top + margin.bottom);
    ++count;
  }
  const int cell_width = item_size_.cx > 0 ? item_size_.cx : widest;
  const int cell_height = item_size_.cy > 0 ? item_size_.cy : tallest;
  const int used_columns = std::min(count, columns);
  const int rows = count == 0 ? 0 : (count + columns - 1) / columns;
  UiSize total{used_columns * cell_width + std::max(used_columns - 1, 0) * child_margin_,
               rows * cell_height + std::max(rows - 1, 0) * child_margin_};
  total.cx += padding_.left + padding_.right;
  total.cy += padding_.top + padding_.bottom;
  return total;
}

}  // namespace ui
