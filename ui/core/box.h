#pragma once

#include <memory>
#include <vector>

#include "ui/core/control.h"
#include "ui/core/layout.h"

namespace ui {

// A control that owns an ordered list of children and a layout that
// measures and places them.
class Box : public Control {
 public:
  // Takes the layout; a null layout means the free layout.
  explicit Box(std::unique_ptr<Layout> layout = nullptr);
  ~Box() override;

  // PlaceHolder / Control.
  void SetWindow(WindowHost* window) override;
  void SetOwner(WindowHost* window, Box* parent, bool init) override;
  UiSize Measure(UiSize available) override;
  void SetPos(UiRect rect) override;
  void SetVisible(bool visible) override;
  void SetInheritedVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  Control* VisitControls(ControlVisitor visitor, void* data, unsigned flags, UiPoint point = {}) override;
  void DispatchEvent(EventArgs& event) override;
  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void PaintChildren(IRenderContext* render, const UiRect& paint_rect) override;
  void PreloadImages() override;
  void UnloadImages() override;
  void ClearImageCache() override;

  virtual int FindSelectable(int index, bool forward) const;
  virtual Control* GetItemAt(size_t index) const;
  virtual int GetItemIndex(const Control* child) const;
  virtual bool SetItemIndex(Control* child, size_t index);
  virtual size_t GetCount() const { return items_.size(); }
  virtual bool AddChild(std::unique_ptr<Control> child);
  virtual bool AddChildAt(std::unique_ptr<Control> child, size_t index);
  virtual bool RemoveChild(Control* child);
  virtual bool RemoveChildAt(size_t index);
  virtual void RemoveAll();
  virtual bool IsAutoDestroy() const { return auto_destroy_; }
  virtual void SetAutoDestroy(bool on) { auto_destroy_ = on; }
  virtual bool IsDelayedDestroy() const { return delayed_destroy_; }
  virtual void SetDelayedDestroy(bool on) { delayed_destroy_ = on; }
  virtual bool IsMouseChildEnabled() const { return mouse_child_; }
  virtual void SetMouseChildEnabled(bool on) { mouse_child_ = on; }
  virtual Layout* GetLayout() const { return layout_.get(); }
  virtual void SetLayout(std::unique_ptr<Layout> layout);
  virtual UiRect GetPaddingPos() const;

  // Handlers that see the events of this box and of every descendant.
  void AttachBubbledEvent(EventType type, EventCallback callback);
  void AttachXmlBubbledEvent(EventType type, EventCallback callback);

  // The first descendant (depth first, in list order) named `name`.
  Control* FindSubControl(std::u16string_view name);

  const ControlList& Items() const { return items_; }

  // Takes a child out of the list without destroying it (null when absent).
  std::unique_ptr<Control> DetachChild(Control* child);

 private:
  void DestroyChild(std::unique_ptr<Control> child);

  std::unique_ptr<Layout> layout_;
  ControlList items_;
  bool auto_destroy_ = true;
  bool delayed_destroy_ = true;
  bool mouse_child_ = true;
};

}  // namespace ui
