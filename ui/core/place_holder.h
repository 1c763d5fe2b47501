#pragma once

#include <string>
#include <string_view>

#include "tasks/support_weak_callback.h"
#include "ui/core/geometry.h"

namespace ui {

class Box;
class WindowHost;

enum class HorAlign { kLeft, kCenter, kRight };
enum class VerAlign { kTop, kCenter, kBottom };

constexpr int kDefaultMaxSize = 9999999;

// Position and size constraints of a control and its links to the window and
// the parent box. Every placeholder carries a weak flag: callbacks bound to it
// do nothing once it is destroyed.
class PlaceHolder : public nbase::SupportWeakCallback {
 public:
  PlaceHolder() = default;
  PlaceHolder(const PlaceHolder&) = delete;
  PlaceHolder& operator=(const PlaceHolder&) = delete;
  ~PlaceHolder() override;

  virtual void SetWindow(WindowHost* window);
  // With `init` set and a parent given, runs Init.
  virtual void SetOwner(WindowHost* window, Box* parent, bool init);
  virtual void Init();
  virtual void DoInit() {}
  virtual bool IsVisible() const { return visible_ && inherited_visible_; }
  virtual UiSize Measure(UiSize available);
  // Without `include_shadow`, the position is reported relative to the
  // window's content, shifted left and up by the shadow corner.
  virtual UiRect GetPos(bool include_shadow = true) const;
  virtual void SetPos(UiRect rect);
  virtual void RequestLayout();
  virtual void RequestAncestorLayout();
  virtual void Repaint();
  virtual void MarkForLayout();

  const std::u16string& GetName() const { return name_; }
  void SetName(std::u16string_view name) { name_.assign(name); }
  WindowHost* GetWindow() const { return window_; }
  Box* GetParent() const { return parent_; }

  int GetFixedWidth() const { return fixed_width_; }
  int GetFixedHeight() const { return fixed_height_; }
  // Return whether the value changed. Values below kSizeAuto are ignored.
  bool SetFixedWidth(int width, bool request_layout = true);
  bool SetFixedHeight(int height, bool request_layout = true);
  bool IsAutoSized() const { return fixed_width_ == kSizeAuto || fixed_height_ == kSizeAuto; }
  int GetMinWidth() const { return min_width_; }
  int GetMinHeight() const { return min_height_; }
  int GetMaxWidth() const { return max_width_; }
  int GetMaxHeight() const { return max_height_; }
  void SetMinWidth(int v);
  void SetMinHeight(int v);
  void SetMaxWidth(int v);
  void SetMaxHeight(int v);

  HorAlign GetHorAlign() const { return halign_; }
  VerAlign GetVerAlign() const { return valign_; }
  void SetHorAlign(HorAlign a) { halign_ = a; }
  void SetVerAlign(VerAlign a) { valign_ = a; }
  bool IsFloat() const { return float_; }
  void SetFloat(bool f);
  bool IsRemeasure() const { return remeasure_; }
  void SetRemeasure(bool r) { remeasure_ = r; }
  bool NeedsLayout() const { return needs_layout_; }
  bool IsOwnVisible() const { return visible_; }

  // The position as last set, without shadow adjustment.
  const UiRect& Pos() const { return rect_; }

  // Sum of the scroll offsets of the enclosing scrollable containers (none
  // of the boxes here scroll, so this is 0,0 unless a container overrides).
  virtual UiPoint GetScrollOffset() const { return {}; }
  UiPoint GetEnclosingScrollOffset() const;

 protected:
  // Invalidates `rect` (window pixels) shifted by the scroll offsets and cut
  // to every ancestor's position; nothing when that leaves nothing.
  void InvalidateClipped(UiRect rect);

  std::u16string name_;
  WindowHost* window_ = nullptr;
  Box* parent_ = nullptr;
  int fixed_width_ = kSizeStretch;
  int fixed_height_ = kSizeStretch;
  int min_width_ = -1;
  int min_height_ = -1;
  int max_width_ = kDefaultMaxSize;
  int max_height_ = kDefaultMaxSize;
  UiRect rect_;
  HorAlign halign_ = HorAlign::kLeft;
  VerAlign valign_ = VerAlign::kTop;
  bool float_ = false;
  bool remeasure_ = true;
  bool needs_layout_ = false;
  bool visible_ = true;
  bool inherited_visible_ = true;
  bool inited_ = false;
};

}  // namespace ui
