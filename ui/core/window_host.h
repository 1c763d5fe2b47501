#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/event_type.h"
#include "ui/core/geometry.h"

namespace ui {

class Box;
class Control;
class IRenderContext;

enum class CursorType { kArrow = 0, kHand = 1, kIBeam = 2 };

// What a control needs from the window it lives in. The window base
// implements it; tools and tests use HeadlessWindow. Every pointer handed out
// refers to a control of this window's tree and is cleared by ReapControl
// before that control dies.
//
// Lifetime: a control calls ReapControl (and an option RemoveOptionGroup)
// from its destructor, so a window must outlive the controls that know it,
// and must accept those calls while it destroys its own tree.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Control tree.
  virtual Control* GetRoot() const = 0;
  // Attaches a control added after the root (AddChild into a box that already
  // has a window): SetOwner with init over its subtree, named controls noted.
  virtual void InitControls(Control* control, Box* parent) = 0;
  // Forgets every pointer to `control` (focus, hover, pressed, name map).
  virtual void ReapControl(Control* control) = 0;
  // Takes a control already detached from its parent, forgets every pointer
  // to it and its descendants at once, and deletes it after the current
  // message, so a control may be removed from inside its own event handler.
  virtual void DeferDelete(std::unique_ptr<Control> control) = 0;
  // The last control registered under `name`, or null.
  virtual Control* FindControl(std::u16string_view name) const = 0;

  // Input state.
  virtual Control* GetFocusControl() const = 0;
  virtual void SetFocusControl(Control* control) = 0;
  virtual Control* GetNewHoverControl() const = 0;
  virtual UiPoint GetLastMousePos() const = 0;
  virtual void SetCursor(CursorType cursor) = 0;

  // Builds an event for `control` (sender) with the last mouse position and
  // the current time and delivers it.
  virtual bool SendNotify(Control* control, EventType type, uintptr_t wparam = 0, intptr_t lparam = 0) = 0;

  // Option groups: Add refuses a control already in the group.
  virtual bool AddOptionGroup(std::u16string_view group, Control* control) = 0;
  virtual std::vector<Control*>* GetOptionGroup(std::u16string_view group) = 0;
  virtual void RemoveOptionGroup(std::u16string_view group, Control* control) = 0;

  // Painting and layout.
  virtual void Invalidate(const UiRect& rect) = 0;
  // A control was marked for layout: a layout pass is due before the next paint.
  virtual void ArrangeAll() = 0;
  // The window's render context, used to make offscreen targets; may be null.
  virtual IRenderContext* GetRenderContext() = 0;

  // Skin: the skin folder relative to the resource folder ("basic/"), the
  // window's own class table, and the shadow margins while the shadow is
  // attached (all zero otherwise).
  virtual std::u16string GetResourcePath() const = 0;
  virtual std::u16string GetClassAttributes(std::u16string_view name) const = 0;
  virtual void AddClass(std::u16string_view name, std::u16string_view value) = 0;
  virtual UiRect GetShadowCorner() const = 0;

  // The window element's own properties (the "Window" root of a skin file).
  // Sizes arrive already scaled; the window adds its shadow margins where it
  // keeps sizes with the shadow. Only a window with a native window is asked.
  virtual bool HasNativeWindow() const { return false; }
  virtual void SetInitSize(int cx, int cy) { (void)cx, (void)cy; }
  virtual void SetHeightPercent(double fraction) { (void)fraction; }
  virtual void SetSizeBox(const UiRect& rect) { (void)rect; }
  virtual void SetCaptionRect(const UiRect& rect) { (void)rect; }
  virtual void SetTextId(std::u16string_view id) { (void)id; }
  virtual void SetRoundCorner(int cx, int cy) { (void)cx, (void)cy; }
  virtual void SetMinInfo(int cx, int cy) { (void)cx, (void)cy; }
  virtual void SetMaxInfo(int cx, int cy) { (void)cx, (void)cy; }
  virtual void SetShadowAttached(bool attached) { (void)attached; }
  virtual void SetShadowImage(std::u16string_view image) { (void)image; }
  // `corner` unscaled; the window keeps it and its scaled form.
  virtual void SetShadowCorner(const UiRect& corner) { (void)corner; }
  virtual void SetAlphaFixCorner(const UiRect& rect) { (void)rect; }
};

}  // namespace ui
