#include "ui/core/headless_window.h"

#include <algorithm>

#include "ui/core/box.h"

namespace ui {

HeadlessWindow::HeadlessWindow() = default;

HeadlessWindow::~HeadlessWindow() {
  // Controls reap themselves as they go; nothing of ours may be touched then.
  destroying_ = true;
  deferred_.clear();
  root_.reset();
}

void HeadlessWindow::AttachRoot(std::unique_ptr<Control> root) {
  focus_ = nullptr;
  new_hover_ = nullptr;
  if (root_) DeferDelete(std::move(root_));
  root_ = std::move(root);
  if (!root_) return;
  root_->SetOwner(this, root_->GetParent(), true);
  RegisterNames(root_.get());
  arrange_requested_ = true;
}

void HeadlessWindow::RegisterNames(Control* control) {
  control->VisitControls(
      [](Control* c, void* data) -> Control* {
        if (!c->GetName().empty()) (*static_cast<decltype(names_)*>(data))[c->GetName()] = c;
        return nullptr;
      },
      &names_, 0);
}

void HeadlessWindow::InitControls(Control* control, Box* parent) {
  if (!control) return;
  control->SetOwner(this, parent ? parent : control->GetParent(), true);
  RegisterNames(control);
}

void HeadlessWindow::ReapControl(Control* control) {
  if (destroying_) return;
  if (focus_ == control) focus_ = nullptr;
  if (new_hover_ == control) new_hover_ = nullptr;
  for (auto it = names_.begin(); it != names_.end();) {
    it = it->second == control ? names_.erase(it) : std::next(it);
  }
  for (auto& [group, members] : option_groups_) std::erase(members, control);
}

void HeadlessWindow::DeferDelete(std::unique_ptr<Control> control) {
  if (!control) return;
  // Forget the whole subtree now (a visitor that never matches sees every
  // control); delete it later.
  control->VisitControls(
      [](Control* c, void* data) -> Control* {
        static_cast<HeadlessWindow*>(data)->ReapControl(c);
        return nullptr;
      },
      this, 0);
  deferred_.push_back(std::move(control));
}

void HeadlessWindow::FlushDeferredDeletes() {
  std::vector<std::unique_ptr<Control>> doomed = std::move(deferred_);
  deferred_.clear();
}

Control* HeadlessWindow::FindControl(std::u16string_view name) const {
  auto it = names_.find(name);
  return it == names_.end() ? nullptr : it->second;
}

void HeadlessWindow::SetFocusControl(Control* control) {
  if (control == focus_) return;
  if (focus_) {
    Control* old = focus_;
    focus_ = nullptr;
    SendNotify(old, EventType::kInternalKillFocus);
    SendNotify(old, EventType::kKillFocus);
  }
  if (!control || control->GetWindow() != this || !control->IsVisible() || !control->IsEnabled()) return;
  focus_ = control;
  SendNotify(control, EventType::kInternalSetFocus);
  SendNotify(control, EventType::kSetFocus);
}

bool HeadlessWindow::SendNotify(Control* control, EventType type, uintptr_t wparam, intptr_t lparam) {
  if (!control) return false;
  EventArgs event = Control::MakeEvent(control, type, last_mouse_, wparam, lparam);
  control->DispatchEvent(event);
  return true;
}

bool HeadlessWindow::AddOptionGroup(std::u16string_view group, Control* control) {
  auto it = option_groups_.find(group);
  if (it == option_groups_.end()) it = option_groups_.emplace(std::u16string(group), std::vector<Control*>{}).first;
  auto& members = it->second;
  if (std::find(members.begin(), members.end(), control) != members.end()) return false;
  members.push_back(control);
  return true;
}

std::vector<Control*>* HeadlessWindow::GetOptionGroup(std::u16string_view group) {
  auto it = option_groups_.find(group);
  return it == option_groups_.end() ? nullptr : &it->second;
}

void HeadlessWindow::RemoveOptionGroup(std::u16string_view group, Control* control) {
  if (destroying_) return;
  auto it = option_groups_.find(group);
  if (it == option_groups_.end()) return;
  std::erase(it->second, control);
  if (it->second.empty()) option_groups_.erase(it);
}

std::u16string HeadlessWindow::GetClassAttributes(std::u16string_view name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? std::u16string() : it->second;
}

void HeadlessWindow::AddClass(std::u16string_view name, std::u16string_view value) {
  classes_[std::u16string(name)] = std::u16string(value);
}

void HeadlessWindow::SetResourcePath(std::u16string_view path) {
  resource_path_.assign(path);
  if (!resource_path_.empty() && resource_path_.back() != u'/' && resource_path_.back() != u'\\') {
    resource_path_.push_back(u'/');
  }
}

void HeadlessWindow::Arrange(UiSize client) {
  arrange_requested_ = false;
  if (!root_) return;
  root_->SetPos({0, 0, client.cx, client.cy});
  root_->ArrangeMarked();
  arrange_requested_ = false;
}

void HeadlessWindow::Paint(IRenderContext* render, const UiRect& rect) {
  if (root_) root_->PaintWithAlpha(render, rect);
}

}  // namespace ui
