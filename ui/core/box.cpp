#include "ui/core/box.h"

#include <algorithm>

#include "ui/core/attribute_value.h"
#include "ui/render/render_context.h"

namespace ui {

Box::Box(std::unique_ptr<Layout> layout) : layout_(layout ? std::move(layout) : std::make_unique<Layout>()) {
  layout_->SetOwner(this);
}

Box::~Box() {
  // Children go at once, without layout requests towards a dying tree.
  delayed_destroy_ = false;
  ControlList items = std::move(items_);
  items_.clear();
  items.clear();
}

void Box::SetWindow(WindowHost* window) {
  Control::SetWindow(window);
  for (const auto& child : items_) child->SetWindow(window);
}

void Box::SetOwner(WindowHost* window, Box* parent, bool init) {
  for (const auto& child : items_) child->SetOwner(window, this, init);
  Control::SetOwner(window, parent, init);
}

UiSize Box::Measure(UiSize available) {
  if (fixed_width_ != kSizeAuto && fixed_height_ != kSizeAuto) return {fixed_width_, fixed_height_};
  if (!remeasure_) return measured_;
  const UiRect padding = layout_->GetPadding();
  const UiSize content = layout_->MeasureChildren(
      items_, {available.cx - padding.left - padding.right, available.cy - padding.top - padding.bottom});
  UiSize size{fixed_width_ == kSizeAuto ? content.cx : fixed_width_,
              fixed_height_ == kSizeAuto ? content.cy : fixed_height_};
  remeasure_ = false;
  // An "auto" child that still wants measuring keeps this box measuring too.
  for (const auto& child : items_) {
    if (child->IsVisible() && child->IsAutoSized() && child->IsRemeasure()) {
      remeasure_ = true;
      break;
    }
  }
  measured_ = size;
  return size;
}

void Box::SetPos(UiRect rect) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  Control::SetPos(rect);
  if (alive.expired() || items_.empty()) return;
  layout_->ArrangeChildren(items_, GetPaddingPos());
}

UiRect Box::GetPaddingPos() const {
  const UiRect padding = layout_->GetPadding();
  return {rect_.left + padding.left, rect_.top + padding.top, rect_.right - padding.right,
          rect_.bottom - padding.bottom};
}

void Box::SetVisible(bool visible) {
  Control::SetVisible(visible);
  for (const auto& child : items_) child->SetInheritedVisible(IsVisible());
}

void Box::SetInheritedVisible(bool visible) {
  Control::SetInheritedVisible(visible);
  for (const auto& child : items_) child->SetInheritedVisible(IsVisible());
}

void Box::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  for (const auto& child : items_) child->SetEnabled(enabled);
}

Control* Box::VisitControls(ControlVisitor visitor, void* data, unsigned flags, UiPoint point) {
  // Pass 1: the box's own filters; without mouse children only the box is hit.
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  const bool hit_test = (flags & kFindHitTest) != 0;
  if (hit_test) {
    if (!ContainsPoint(point)) return nullptr;
    if (!mouse_child_) return IsMouseEnabled() ? visitor(this, data) : nullptr;
  }
  auto visit_self = [&]() -> Control* {
    if (hit_test && !IsMouseEnabled()) return nullptr;
    return visitor(this, data);
  };

  // Pass 2: the box first when asked.
  if (flags & kFindMeFirst) {
    if (Control* found = visit_self()) return found;
  }

  // Pass 3: the children; a hit outside the padded area counts only for floating ones.
  UiPoint child_point = point;
  if (hit_test) {
    const UiPoint scroll = GetScrollOffset();
    child_point.x += scroll.x;
    child_point.y += scroll.y;
  }
  const UiRect padded = GetPaddingPos();
  auto visit_child = [&](Control* child) -> Control* {
    Control* found = child->VisitControls(visitor, data, flags, child_point);
    if (!found) return nullptr;
    if (!hit_test || found->IsFloat() || padded.Contains(point)) return found;
    return nullptr;
  };
  if (flags & kFindTopFirst) {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
      if (Control* found = visit_child(it->get())) return found;
    }
  } else {
    for (const auto& child : items_) {
      if (Control* found = visit_child(child.get())) return found;
    }
  }

  // Pass 4: the box itself last.
  if (!(flags & kFindMeFirst)) return visit_self();
  return nullptr;
}

void Box::DispatchEvent(EventArgs& event) {
  if (DeliverToListenersOf(event, true)) HandleEvent(event);
}

void Box::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (layout_->SetAttribute(name, value)) return;
  if (name == u"mousechild") {
    SetMouseChildEnabled(ParseBool(value));
    return;
  }
  Control::SetAttribute(name, value);
}

void Box::PaintChildren(IRenderContext* render, const UiRect& paint_rect) {
  if (rect_.Intersect(paint_rect).IsEmpty()) return;
  for (size_t i = 0; i < items_.size(); ++i) {
    Control* child = items_[i].get();
    if (child->IsVisible()) child->PaintWithAlpha(render, paint_rect);
  }
}

void Box::PreloadImages() {
  Control::PreloadImages();
  for (const auto& child : items_) child->PreloadImages();
}

void Box::UnloadImages() {
  Control::UnloadImages();
  for (const auto& child : items_) child->UnloadImages();
}

void Box::ClearImageCache() {
  Control::ClearImageCache();
  for (const auto& child : items_) child->ClearImageCache();
}

int Box::FindSelectable(int index, bool forward) const {
  const int count = static_cast<int>(items_.size());
  if (count == 0) return -1;
  index = std::clamp(index, 0, count - 1);
  for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
    if (items_[i]->IsActivatable()) return i;
  }
  return -1;
}

Control* Box::GetItemAt(size_t index) const { return index < items_.size() ? items_[index].get() : nullptr; }

int Box::GetItemIndex(const Control* child) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == child) return static_cast<int>(i);
  }
  return -1;
}

bool Box::SetItemIndex(Control* child, size_t index) {
  const int from = GetItemIndex(child);
  if (from < 0 || index >= items_.size()) return false;
  std::unique_ptr<Control> moved = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(moved));
  RequestLayout();
  return true;
}

bool Box::AddChild(std::unique_ptr<Control> child) { return AddChildAt(std::move(child), items_.size()); }

bool Box::AddChildAt(std::unique_ptr<Control> child, size_t index) {
  if (!child || index > items_.size()) return false;
  Control* raw = child.get();
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
  if (window_) {
    window_->InitControls(raw, this);
  } else {
    raw->SetOwner(raw->GetWindow(), this, false);
  }
  raw->SetInheritedVisible(IsVisible());
  if (IsVisible()) RequestLayout();
  return true;
}

std::unique_ptr<Control> Box::DetachChild(Control* child) {
  const int index = GetItemIndex(child);
  if (index < 0) return nullptr;
  std::unique_ptr<Control> detached = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  detached->SetOwner(detached->GetWindow(), nullptr, false);
  return detached;
}

void Box::DestroyChild(std::unique_ptr<Control> child) {
  if (delayed_destroy_ && window_) {
    window_->DeferDelete(std::move(child));
  }
  // Otherwise it goes here, at once.
}

bool Box::RemoveChild(Control* child) {
  std::unique_ptr<Control> detached = DetachChild(child);
  if (!detached) return false;
  RequestLayout();
  if (auto_destroy_) DestroyChild(std::move(detached));
  return true;
}

bool Box::RemoveChildAt(size_t index) {
  Control* child = GetItemAt(index);
  return child ? RemoveChild(child) : false;
}

void Box::RemoveAll() {
  ControlList items = std::move(items_);
  items_.clear();
  for (auto& child : items) {
    child->SetOwner(child->GetWindow(), nullptr, false);
    DestroyChild(std::move(child));
  }
  RequestLayout();
}

void Box::SetLayout(std::unique_ptr<Layout> layout) {
  if (!layout) return;
  layout_ = std::move(layout);
  layout_->SetOwner(this);
  RequestLayout();
}

void Box::AttachBubbledEvent(EventType type, EventCallback callback) {
  listeners_.bubbled_code[type].push_back(std::move(callback));
}

void Box::AttachXmlBubbledEvent(EventType type, EventCallback callback) {
  listeners_.bubbled_markup[type].push_back(std::move(callback));
}

Control* Box::FindSubControl(std::u16string_view name) {
  for (const auto& child : items_) {
    if (child->GetName() == name) return child.get();
    if (Box* box = dynamic_cast<Box*>(child.get())) {
      if (Control* found = box->FindSubControl(name)) return found;
    }
  }
  return nullptr;
}

}  // namespace ui
