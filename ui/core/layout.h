#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "ui/core/geometry.h"

namespace ui {

class Box;
class Control;

using ControlList = std::vector<std::unique_ptr<Control>>;

// The free layout of "Box": every child is placed inside the whole padded
// rectangle by its own margins and alignment. Base of the row, column and
// tile layouts.
class Layout {
 public:
  Layout() = default;
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;
  virtual ~Layout() = default;

  // Returns whether `name` was a layout attribute.
  virtual bool SetAttribute(std::u16string_view name, std::u16string_view value);
  // Places the children inside `rect` (already shrunk by the padding);
  // returns the size used.
  virtual UiSize ArrangeChildren(const ControlList& children, UiRect rect);
  // The content size including the padding.
  virtual UiSize MeasureChildren(const ControlList& children, UiSize available);
  virtual UiRect GetPadding() const { return padding_; }
  virtual void SetPadding(UiRect padding, bool scale = true);
  virtual int GetChildMargin() const { return child_margin_; }
  virtual void SetChildMargin(int margin);

  void SetOwner(Box* owner) { owner_ = owner; }
  Box* GetOwner() const { return owner_; }

  // Places one child inside `rect` by its margins and alignment; returns the
  // placed size (0,0 for an invisible child, which is not placed).
  static UiSize SetFloatPos(Control* child, UiRect rect);
  // For the flow layouts: true when the child takes no room in the flow
  // (invisible, or floating and then placed here inside `rect`).
  static bool PlaceOutOfFlow(Control* child, const UiRect& rect);

 protected:
  UiRect padding_;
  int child_margin_ = 0;
  Box* owner_ = nullptr;
};

}  // namespace ui
