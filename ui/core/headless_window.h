#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/control.h"
#include "ui/core/window_host.h"

namespace ui {

class Box;

// A window without a native window: it owns a control tree, keeps the named
// controls, focus, hover, option groups and class table, lays the tree out at
// a given client size and paints it into a given render context. Used for
// the never-shown owner of "global.xml", by developer tools and by tests.
class HeadlessWindow : public WindowHost {
 public:
  HeadlessWindow();
  ~HeadlessWindow() override;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  // Attaches a tree (replacing any earlier one): every control learns the
  // window, runs Init, and named controls are registered.
  void AttachRoot(std::unique_ptr<Control> root);
  // Lays the root out over (0, 0, width, height) and then every control
  // still marked for layout at its current place.
  void Arrange(UiSize client);
  // Paints the parts of the tree that meet `rect` into `render`.
  void Paint(IRenderContext* render, const UiRect& rect);
  // Deletes the controls queued by DeferDelete.
  void FlushDeferredDeletes();

  void SetRenderContext(IRenderContext* render) { render_ = render; }
  void SetResourcePath(std::u16string_view path);
  void SetLastMousePos(UiPoint point) { last_mouse_ = point; }
  void SetNewHoverControl(Control* control) { new_hover_ = control; }
  CursorType LastCursor() const { return cursor_; }
  bool IsArrangeRequested() const { return arrange_requested_; }
  const UiRect& InvalidatedRect() const { return invalidated_; }
  void ClearInvalidated() { invalidated_ = {}; }
  size_t DeferredCount() const { return deferred_.size(); }

  // WindowHost.
  Control* GetRoot() const override { return root_.get(); }
  void InitControls(Control* control, Box* parent) override;
  void ReapControl(Control* control) override;
  void DeferDelete(std::unique_ptr<Control> control) override;
  Control* FindControl(std::u16string_view name) const override;
  Control* GetFocusControl() const override { return focus_; }
  void SetFocusControl(Control* control) override;
  Control* GetNewHoverControl() const override { return new_hover_; }
  UiPoint GetLastMousePos() const override { return last_mouse_; }
  void SetCursor(CursorType cursor) override { cursor_ = cursor; }
  bool SendNotify(Control* control, EventType type, uintptr_t wparam = 0, intptr_t lparam = 0) override;
  bool AddOptionGroup(std::u16string_view group, Control* control) override;
  std::vector<Control*>* GetOptionGroup(std::u16string_view group) override;
  void RemoveOptionGroup(std::u16string_view group, Control* control) override;
  void Invalidate(const UiRect& rect) override { invalidated_ = invalidated_.Union(rect); }
  void ArrangeAll() override { arrange_requested_ = true; }
  IRenderContext* GetRenderContext() override { return render_; }
  std::u16string GetResourcePath() const override { return resource_path_; }
  std::u16string GetClassAttributes(std::u16string_view name) const override;
  void AddClass(std::u16string_view name, std::u16string_view value) override;
  UiRect GetShadowCorner() const override { return {}; }

 private:
  void RegisterNames(Control* control);

  std::unique_ptr<Control> root_;
  std::vector<std::unique_ptr<Control>> deferred_;
  std::map<std::u16string, Control*, std::less<>> names_;
  std::map<std::u16string, std::vector<Control*>, std::less<>> option_groups_;
  std::map<std::u16string, std::u16string, std::less<>> classes_;
  Control* focus_ = nullptr;
  Control* new_hover_ = nullptr;
  UiPoint last_mouse_{-1, -1};
  CursorType cursor_ = CursorType::kArrow;
  IRenderContext* render_ = nullptr;
  std::u16string resource_path_;
  UiRect invalidated_;
  bool arrange_requested_ = false;
  bool destroying_ = false;
};

}  // namespace ui
