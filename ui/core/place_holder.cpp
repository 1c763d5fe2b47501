#include "ui/core/place_holder.h"

#include <algorithm>

#include "ui/core/box.h"
#include "ui/core/window_host.h"

namespace ui {

PlaceHolder::~PlaceHolder() = default;

void PlaceHolder::SetWindow(WindowHost* window) { window_ = window; }

void PlaceHolder::SetOwner(WindowHost* window, Box* parent, bool init) {
  window_ = window;
  parent_ = parent;
  if (init && parent_) Init();
}

void PlaceHolder::Init() {
  // A subtree is attached once per level it is added at; its hook runs once.
  if (inited_) return;
  inited_ = true;
  DoInit();
}

UiSize PlaceHolder::Measure(UiSize available) {
  (void)available;
  return {fixed_width_, fixed_height_};
}

UiRect PlaceHolder::GetPos(bool include_shadow) const {
  if (include_shadow || !window_) return rect_;
  const UiRect shadow = window_->GetShadowCorner();
  UiRect pos = rect_;
  pos.Offset(-shadow.left, -shadow.top);
  return pos;
}

void PlaceHolder::SetPos(UiRect rect) {
  rect.right = std::max(rect.right, rect.left);
  rect.bottom = std::max(rect.bottom, rect.top);
  rect_ = rect;
  needs_layout_ = false;
}

bool PlaceHolder::SetFixedWidth(int width, bool request_layout) {
  if (width < kSizeAuto || width == fixed_width_) return false;
  fixed_width_ = width;
  if (request_layout) {
    RequestAncestorLayout();
  } else {
    remeasure_ = true;
  }
  return true;
}

bool PlaceHolder::SetFixedHeight(int height, bool request_layout) {
  if (height < kSizeAuto || height == fixed_height_) return false;
  fixed_height_ = height;
  if (request_layout) {
    RequestAncestorLayout();
  } else {
    remeasure_ = true;
  }
  return true;
}

// A floating control is placed on its own, so a changed limit only needs
// its own layout; in the flow the siblings move too.
void PlaceHolder::SetMinWidth(int v) {
  if (v == min_width_) return;
  min_width_ = v;
  float_ ? RequestLayout() : RequestAncestorLayout();
}

void PlaceHolder::SetMinHeight(int v) {
  if (v == min_height_) return;
  min_height_ = v;
  float_ ? RequestLayout() : RequestAncestorLayout();
}

void PlaceHolder::SetMaxWidth(int v) {
  if (v == max_width_) return;
  max_width_ = v;
  float_ ? RequestLayout() : RequestAncestorLayout();
}

void PlaceHolder::SetMaxHeight(int v) {
  if (v == max_height_) return;
  max_height_ = v;
  float_ ? RequestLayout() : RequestAncestorLayout();
}

void PlaceHolder::SetFloat(bool f) {
  if (f == float_) return;
  float_ = f;
  RequestAncestorLayout();
}

UiPoint PlaceHolder::GetEnclosingScrollOffset() const {
  UiPoint offset;
  for (const Box* p = parent_; p; p = p->GetParent()) {
    UiPoint o = p->GetScrollOffset();
    offset.x += o.x;
    offset.y += o.y;
  }
  return offset;
}

void PlaceHolder::RequestLayout() {
  if (IsAutoSized()) {
    RequestAncestorLayout();
  } else {
    MarkForLayout();
  }
}

void PlaceHolder::RequestAncestorLayout() {
  remeasure_ = true;
  if (window_ && window_->GetRoot()) {
    // Auto-sized ancestors change with us; the first fixed one lays out again.
    Box* p = parent_;
    while (p && p->IsAutoSized()) {
      p->SetRemeasure(true);
      p = p->GetParent();
    }
    if (p) {
      p->MarkForLayout();
    } else {
      window_->GetRoot()->MarkForLayout();
    }
    return;
  }
  if (parent_) {
    parent_->MarkForLayout();
  } else {
    MarkForLayout();
  }
}

void PlaceHolder::MarkForLayout() {
  if (!IsVisible()) return;
  remeasure_ = true;
  needs_layout_ = true;
  Repaint();
  if (window_) window_->ArrangeAll();
}

void PlaceHolder::Repaint() {
  if (!window_ || !IsVisible()) return;
  UiRect rect = rect_;
  const UiPoint scroll = GetEnclosingScrollOffset();
  rect.Offset(-scroll.x, -scroll.y);
  window_->Invalidate(rect);
}

void PlaceHolder::InvalidateClipped(UiRect rect) {
  if (!window_) return;
  const UiPoint scroll = GetEnclosingScrollOffset();
  rect.Offset(-scroll.x, -scroll.y);
  for (const Box* p = parent_; p; p = p->GetParent()) {
    UiRect cut = rect.Intersect(p->Pos());
    if (cut.IsEmpty()) return;
    rect = cut;
  }
  window_->Invalidate(rect);
}

}  // namespace ui
