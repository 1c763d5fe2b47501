#include "ui/core/line_layout.h"

#include <algorithm>

#include "ui/core/control.h"

namespace ui {

namespace {

// A maximum width below 0 means none; the maximum height always applies,
// also when negative (SetPos then turns it into an empty height).
int ClampWidth(const Control* c, int width) {
  width = std::max(width, c->GetMinWidth());
  if (c->GetMaxWidth() >= 0) width = std::min(width, c->GetMaxWidth());
  return width;
}

int ClampHeight(const Control* c, int height) {
  height = std::max(height, c->GetMinHeight());
  return std::min(height, c->GetMaxHeight());
}

// Reads sizes and margins along the layout's main axis and across it.
struct Axis {
  bool vertical;

  int Main(UiSize s) const { return vertical ? s.cy : s.cx; }
  int Cross(UiSize s) const { return vertical ? s.cx : s.cy; }
  UiSize Make(int main, int cross) const { return vertical ? UiSize{cross, main} : UiSize{main, cross}; }
  int Lead(const UiRect& m) const { return vertical ? m.top : m.left; }
  int Trail(const UiRect& m) const { return vertical ? m.bottom : m.right; }
  int CrossLead(const UiRect& m) const { return vertical ? m.left : m.top; }
  int CrossTrail(const UiRect& m) const { return vertical ? m.right : m.bottom; }
  int ClampMain(const Control* c, int v) const { return vertical ? ClampHeight(c, v) : ClampWidth(c, v); }
  int ClampCross(const Control* c, int v) const { return vertical ? ClampWidth(c, v) : ClampHeight(c, v); }
  // -1 start (left/top), 0 center, 1 end (right/bottom) across the axis.
  int CrossAlign(const Control* c) const {
    if (vertical) {
      return c->GetHorAlign() == HorAlign::kLeft ? -1 : c->GetHorAlign() == HorAlign::kCenter ? 0 : 1;
    }
    return c->GetVerAlign() == VerAlign::kTop ? -1 : c->GetVerAlign() == VerAlign::kCenter ? 0 : 1;
  }
};

bool InFlow(const Control* c) { return c->IsVisible() && !c->IsFloat(); }

}  // namespace

UiSize LineLayout::ArrangeChildren(const ControlList& children, UiRect rect) {
  const Axis axis{vertical_};
  const int main_size = vertical_ ? rect.Height() : rect.Width();
  const int cross_size = vertical_ ? rect.Width() : rect.Height();
  const int main_start = vertical_ ? rect.top : rect.left;
  const int cross_start = vertical_ ? rect.left : rect.top;
  const int cross_end = vertical_ ? rect.right : rect.bottom;
  const int gap = child_margin_;
  const UiSize whole{rect.Width(), rect.Height()};

  // Pass 1: measure the children in the flow; "stretch" ones only count.
  int fixed_total = 0;
  int stretch_count = 0;
  int count = 0;
  for (const auto& child : children) {
    if (!InFlow(child.get())) continue;
    const UiRect margin = child->GetMargin();
    const int measured = axis.Main(child->Measure(whole));
    if (measured == kSizeStretch) {
      ++stretch_count;
      fixed_total += axis.Lead(margin) + axis.Trail(margin);
    } else {
      fixed_total += axis.Lead(margin) + axis.ClampMain(child.get(), measured) + axis.Trail(margin);
    }
    ++count;
  }

  // Pass 2: the share of each stretch child and the pixels left over.
  if (count > 0) fixed_total += gap * (count - 1);
  int share = 0;
  int leftover = 0;
  if (stretch_count > 0) {
    share = std::max((main_size - fixed_total) / stretch_count, 0);
    leftover = main_size - stretch_count * share - fixed_total;
  }

  // Pass 3: place the children one after another; floating ones by their
  // margins in the whole rectangle, taking no room.
  int cursor = main_start;
  int remaining = main_size;
  int used_main = 0;
  int used_cross = 0;
  for (const auto& child : children) {
    Control* c = child.get();
    if (PlaceOutOfFlow(c, rect)) continue;
    const UiRect margin = c->GetMargin();
    remaining -= axis.Lead(margin);
    const UiSize measured = c->Measure(axis.Make(remaining, cross_size));

    int main = axis.Main(measured);
    if (main == kSizeStretch) {
      main = share;
      if (leftover > 0) {
        ++main;
        --leftover;
      }
    }
    main = axis.ClampMain(c, main);

    int cross = axis.Cross(measured);
    if (cross == kSizeStretch) cross = cross_size - axis.CrossLead(margin) - axis.CrossTrail(margin);
    cross = axis.ClampCross(c, std::max(cross, 0));

    int cross_pos = cross_start + axis.CrossLead(margin);
    switch (axis.CrossAlign(c)) {
      case 1:
        cross_pos = cross_end - axis.CrossTrail(margin) - cross;
        break;
      case 0:
        cross_pos = cross_start + (axis.CrossLead(margin) + cross_size - axis.CrossTrail(margin) - cross) / 2;
        break;
      default:
        break;
    }
    const int main_pos = cursor + axis.Lead(margin);
    if (vertical_) {
      c->SetPos({cross_pos, main_pos, cross_pos + cross, main_pos + main});
    } else {
      c->SetPos({main_pos, cross_pos, main_pos + main, cross_pos + cross});
    }

    cursor += axis.Lead(margin) + main + axis.Trail(margin) + gap;
    remaining -= main + axis.Trail(margin) + gap;
    used_main += axis.Lead(margin) + main + axis.Trail(margin);
    used_cross = std::max(used_cross, cross);
  }
  if (count > 0) used_main += gap * (count - 1);
  return axis.Make(used_main, used_cross);
}

UiSize LineLayout::MeasureChildren(const ControlList& children, UiSize available) {
  const Axis axis{vertical_};
  int total_main = 0;
  int total_cross = 0;
  int count = 0;
  for (const auto& child : children) {
    if (!InFlow(child.get())) continue;
    const UiSize measured = child->Measure(available);
    const UiSize size{ClampWidth(child.get(), measured.cx), ClampHeight(child.get(), measured.cy)};
    const UiRect margin = child->GetMargin();
    total_main += axis.Lead(margin) + axis.Main(size) + axis.Trail(margin);
    total_cross = std::max(total_cross, axis.CrossLead(margin) + axis.Cross(size) + axis.CrossTrail(margin));
    ++count;
  }
  if (count >= 2) total_main += child_margin_ * (count - 1);
  UiSize total = axis.Make(total_main, total_cross);
  total.cx += padding_.left + padding_.right;
  total.cy += padding_.top + padding_.bottom;
  return total;
}

}  // namespace ui
