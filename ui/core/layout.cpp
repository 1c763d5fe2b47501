#include "ui/core/layout.h"

#include <algorithm>

#include "ui/core/attribute_value.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/resources/global_resources.h"

namespace ui {

bool Layout::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"padding") {
    SetPadding(ParseFrame(value), true);
    return true;
  }
  if (name == u"childmargin") {
    SetChildMargin(ParseInt(value));
    return true;
  }
  return false;
}

void Layout::SetPadding(UiRect padding, bool scale) {
  if (scale) padding = GlobalResources::Instance().ScaleRect(padding);
  padding_ = padding;
  if (owner_) owner_->RequestAncestorLayout();
}

void Layout::SetChildMargin(int margin) {
  child_margin_ = GlobalResources::Instance().ScaleValue(margin);
  if (owner_) owner_->RequestAncestorLayout();
}

UiSize Layout::SetFloatPos(Control* child, UiRect rect) {
  // Pass 1: invisible children take no room and keep their position.
  if (!child->IsVisible()) return {};

  // Pass 2: the area inside the child's margins.
  const UiRect margin = child->GetMargin();
  const UiRect inner{rect.left + margin.left, rect.top + margin.top, rect.right - margin.right,
                     rect.bottom - margin.bottom};
  const int w = inner.Width();
  const int h = inner.Height();

  // Pass 3: measure; an "auto" child wider than the area is measured again
  // at the area's width so that wrapping text can grow downwards instead.
  UiSize size = child->Measure({w, h});
  if (child->GetFixedWidth() == kSizeAuto && child->GetFixedHeight() == kSizeAuto &&
      child->GetMaxWidth() == kSizeStretch) {
    const int limit = std::max(w, 0);
    if (limit < size.cx) {
      child->SetFixedWidth(limit > 0 ? GlobalResources::Instance().ScaleValue(limit) : limit, false);
      size = child->Measure({w, h});
      child->SetFixedWidth(kSizeAuto, false);
    }
  }

  // Pass 4: stretch, then minimum and maximum. A negative maximum width
  // means none; the maximum height always applies.
  int width = size.cx == kSizeStretch ? std::max(w, 0) : size.cx;
  width = std::max(width, child->GetMinWidth());
  if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
  int height = size.cy == kSizeStretch ? std::max(h, 0) : size.cy;
  height = std::max(height, child->GetMinHeight());
  height = std::min(height, child->GetMaxHeight());

  // Pass 5: alignment inside the area.
  int left = inner.left;
  if (child->GetHorAlign() == HorAlign::kRight) {
    left = inner.right - width;
  } else if (child->GetHorAlign() == HorAlign::kCenter) {
    left = inner.left + (w - width) / 2;
  }
  int top = inner.top;
  if (child->GetVerAlign() == VerAlign::kBottom) {
    top = inner.bottom - height;
  } else if (child->GetVerAlign() == VerAlign::kCenter) {
    top = inner.top + (h - height) / 2;
  }
  child->SetPos({left, top, left + width, top + height});
  return {width, height};
}

bool Layout::PlaceOutOfFlow(Control* child, const UiRect& rect) {
  if (!child->IsVisible()) return true;
  if (!child->IsFloat()) return false;
  SetFloatPos(child, rect);
  return true;
}

UiSize Layout::ArrangeChildren(const ControlList& children, UiRect rect) {
  UiSize used;
  for (const auto& child : children) {
    UiSize size = SetFloatPos(child.get(), rect);
    used.cx = std::max(used.cx, size.cx);
    used.cy = std::max(used.cy, size.cy);
  }
  return used;
}

UiSize Layout::MeasureChildren(const ControlList& children, UiSize available) {
  // With no visible child the result stays near -9999; an "auto" box uses it as it is.
  UiSize total{-9999, -9999};
  for (const auto& child : children) {
    if (!child->IsVisible()) continue;
    UiSize size = child->Measure(available);
    int width = std::max(size.cx, child->GetMinWidth());
    if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
    int height = std::max(size.cy, child->GetMinHeight());
    height = std::min(height, child->GetMaxHeight());
    const UiRect margin = child->GetMargin();
    total.cx = std::max(total.cx, margin.left + margin.right + width);
    total.cy = std::max(total.cy, margin.top + margin.bottom + height);
  }
  total.cx += padding_.left + padding_.right;
  total.cy += padding_.top + padding_.bottom;
  return total;
}

}  // namespace ui
