#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/animation_player.h"
#include "ui/core/control_image.h"
#include "ui/core/event_args.h"
#include "ui/core/event_listeners.h"
#include "ui/core/place_holder.h"
#include "ui/core/window_host.h"

namespace ui {

class IRenderContext;

enum class ControlState { Normal = 0, Hot = 1, Pushed = 2, Disabled = 3 };
constexpr int kControlStateCount = 4;

// Flags of VisitControls.
constexpr unsigned kFindVisible = 1;
constexpr unsigned kFindEnabled = 2;
constexpr unsigned kFindHitTest = 4;
constexpr unsigned kFindTopFirst = 8;
constexpr unsigned kFindMeFirst = 0x80000000u;

// Colour names and images, one per ControlState.
using StateColors = std::array<std::u16string, kControlStateCount>;
using StateImages = std::array<ControlImage, kControlStateCount>;

// Returns the control to stop a search at, or null to go on.
using ControlVisitor = Control* (*)(Control* control, void* data);

// Owned per-control data the application hangs on a control.
class UserData {
 public:
  virtual ~UserData() = default;
};

// The base of every visual element: look, interaction state, flags and
// handler lists, all configurable from skin attributes.
class Control : public PlaceHolder {
 public:
  Control();
  ~Control() override;

  // PlaceHolder.
  UiSize Measure(UiSize available) override;
  void SetPos(UiRect rect) override;
  void Repaint() override;

  // The picture an "auto" control takes its size from, or null.
  virtual ControlImage* SizingImage();
  virtual CursorType GetCursorType() const { return cursor_; }
  virtual std::u16string GetToolTipText() const;
  virtual std::string GetToolTipTextUtf8() const;
  virtual void SetToolTipText(std::u16string_view text);
  virtual void SetToolTipTextUtf8(std::string_view text);
  virtual void SetToolTipTextId(std::u16string_view id);
  virtual void SetToolTipTextIdUtf8(std::string_view id);
  virtual void SetToolTipWidth(int width) { tooltip_width_ = width; }
  virtual int GetToolTipWidth() const { return tooltip_width_; }
  virtual bool IsContextMenuUsed() const { return menu_used_; }
  virtual void SetContextMenuUsed(bool used) { menu_used_ = used; }
  virtual std::u16string GetDataId() const { return data_id_; }
  virtual std::string GetDataIdUtf8() const;
  virtual void SetDataId(std::u16string_view id) { data_id_.assign(id); }
  virtual void SetDataIdUtf8(std::string_view id);
  virtual UserData* GetUserData() const { return user_data_.get(); }
  virtual void SetUserData(std::unique_ptr<UserData> data) { user_data_ = std::move(data); }
  virtual void SetFadeVisible(bool visible);
  virtual void SetInheritedVisible(bool visible);
  virtual void SetVisible(bool visible);
  virtual bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  virtual bool IsMouseEnabled() const { return mouse_enabled_; }
  virtual void SetMouseEnabled(bool enabled) { mouse_enabled_ = enabled; }
  virtual bool IsKeyboardEnabled() const { return keyboard_enabled_; }
  virtual void SetKeyboardEnabled(bool enabled) { keyboard_enabled_ = enabled; }
  virtual bool IsFocused() const { return focused_; }
  virtual void SetFocus();
  virtual bool IsMouseCaptured() const { return mouse_captured_; }
  virtual void SetMouseCaptured(bool captured) { mouse_captured_ = captured; }
  virtual bool IsActivatable() const { return IsVisible() && IsEnabled(); }
  virtual void Activate() {}
  virtual Control* VisitControls(ControlVisitor visitor, void* data, unsigned flags, UiPoint point = {});
  virtual UiRect GetMargin() const { return margin_; }
  virtual void SetMargin(UiRect margin, bool scale = true);
  virtual UiSize MeasureText(UiSize available);
  virtual bool ContainsPoint(UiPoint point) const;
  virtual void DispatchEvent(EventArgs& event);
  virtual bool HasHotState();
  virtual void SetAttribute(std::u16string_view name, std::u16string_view value);
  virtual void PaintWithAlpha(IRenderContext* render, const UiRect& paint_rect);
  virtual void Paint(IRenderContext* render, const UiRect& paint_rect);
  virtual void PaintChildren(IRenderContext* render, const UiRect& paint_rect);
  virtual void PreloadImages();
  virtual void UnloadImages();
  virtual void ClearImageCache();
  virtual void HandleEvent(EventArgs& event);
  virtual void OnMouseEnter(EventArgs& event);
  virtual void OnMouseLeave(EventArgs& event);
  virtual bool OnButtonDown(EventArgs& event);
  virtual bool OnButtonUp(EventArgs& event);
  virtual void PaintBkColor(IRenderContext* render);
  virtual void PaintBkImage(IRenderContext* render);
  virtual void PaintStateColors(IRenderContext* render);
  virtual void PaintStateImages(IRenderContext* render);
  virtual void PaintText(IRenderContext* render) { (void)render; }
  virtual void PaintBorder(IRenderContext* render);

  // The skin element this control was built from ("HBox", "Button"...);
  // empty for controls made by code.
  const std::u16string& GetElementName() const { return element_name_; }
  void SetElementName(std::u16string_view name) { element_name_.assign(name); }

  // Lays out again, at their current places, the visible controls of this
  // subtree that are marked for layout (each container before its children),
  // until none is left: the window's layout pass after the first.
  void ArrangeMarked();

  // Applies an attribute list name="value" name="value" ... in order.
  void ApplyAttributeText(std::u16string_view list);

  // Handlers attached by program code and by markup "Event" elements.
  void AttachEvent(EventType type, EventCallback callback);
  void AttachXmlEvent(EventType type, EventCallback callback);
  void AttachClick(EventCallback callback) { AttachEvent(EventType::kClick, std::move(callback)); }
  void AttachAllEvents(EventCallback callback) { AttachEvent(EventType::kAll, std::move(callback)); }
  void DetachEvent(EventType type);
  // An event record stamped with the current time.
  static EventArgs MakeEvent(Control* sender, EventType type, UiPoint point, uintptr_t wparam = 0,
                             intptr_t lparam = 0);
  // Builds an event with this control as sender and delivers it.
  void RaiseEvent(EventType type, uintptr_t wparam = 0, intptr_t lparam = 0);

  // Look.
  ControlState GetState() const { return state_; }
  void SetState(ControlState state);
  int GetHotAlpha() const { return hot_alpha_; }
  void SetHotAlpha(int alpha);
  int GetAlpha() const { return alpha_; }
  void SetAlpha(int alpha);
  const std::u16string& GetBkColor() const { return bk_color_; }
  void SetBkColor(std::u16string_view name);
  const std::u16string& GetStateColor(ControlState state) const { return state_colors_[Index(state)]; }
  void SetStateColor(ControlState state, std::u16string_view name);
  const std::u16string& GetBorderColor() const { return border_color_; }
  void SetBorderColor(std::u16string_view name);
  int GetBorderSize() const { return border_size_; }
  void SetBorderSize(int size);
  UiRect GetBorderSizes() const { return border_sizes_; }
  void SetBorderSizes(const UiRect& sizes);
  UiSize GetBorderRound() const { return border_round_; }
  void SetBorderRound(UiSize round);
  UiPoint GetRenderOffset() const { return render_offset_; }
  void SetRenderOffset(UiPoint offset);
  const ControlImage& GetBkImage() const { return bk_image_; }
  void SetBkImage(std::u16string_view text);
  const ControlImage& GetStateImage(ControlState state) const { return state_images_[Index(state)]; }
  void SetStateImage(ControlState state, std::u16string_view text);
  void SetForeStateImage(ControlState state, std::u16string_view text);
  bool IsHotFadeOn() const { return hot_fade_ != nullptr; }
  AnimationPlayer* GetHotFade() const { return hot_fade_.get(); }
  // The opacity animation used by SetFadeVisible (and the window's fade-in).
  AnimationPlayer* GetAlphaFade() const { return alpha_fade_.get(); }
  // A fresh opacity animation from 0, with the control's opacity set to 0;
  // the caller may replace its step callback and plays it.
  AnimationPlayer* RecreateAlphaFade();
  void SetHotFade(bool on);
  void SetAlphaFade(bool on);
  bool IsPaintCacheOn() const { return cache_; }
  bool IsReceivePointer() const { return receive_pointer_; }
  bool IsNoFocus() const { return no_focus_; }

  // Draws `image` into `dest` rules of its spec (optionally modified and
  // with a replacement fade). Returns false when nothing can be drawn.
  bool DrawImage(IRenderContext* render, ControlImage& image, std::u16string_view modifier = {}, int fade = -1);
  // Loads the picture of `image` when it is not loaded yet.
  bool LoadImage(ControlImage& image);
  // Fills the position (cut to the paint rectangle) with a colour name.
  void FillColor(IRenderContext* render, std::u16string_view color_name, int alpha, const UiRect* rect = nullptr);

  // The context text is measured with: the window's, or a shared one.
  IRenderContext* GetMeasureContext() const;

  // The rectangle being painted, cut to the position.
  const UiRect& GetPaintRect() const { return paint_rect_; }

  static int Index(ControlState s) { return static_cast<int>(s); }

 protected:
  // Shared picking of the state look; the check box swaps in its selected sets.
  void PaintStateColorsOf(IRenderContext* render, StateColors& colors);
  void PaintStateImagesOf(IRenderContext* render, StateImages& images);
  ControlImage* FirstStateImageWithFile(StateImages& images);
  bool HasHotImageOrColor(const StateColors& colors, const StateImages& images, const StateImages& fore) const;
  void StopAnimationOfPicture();
  // The listener part of DispatchEvent; false when the control must not be touched any more
  // or the event was stopped.
  bool DeliverToListenersOf(EventArgs& event, bool is_box);

  std::u16string element_name_;
  UiRect margin_;
  bool enabled_ = true;
  bool mouse_enabled_ = true;
  bool keyboard_enabled_ = true;
  bool focused_ = false;
  bool mouse_captured_ = false;
  bool menu_used_ = false;
  bool no_focus_ = false;
  bool receive_pointer_ = true;
  ControlState state_ = ControlState::Normal;
  int hot_alpha_ = 0;
  int alpha_ = 255;
  bool cache_ = false;
  bool cache_dirty_ = true;
  UiPoint render_offset_;
  int border_size_ = 0;
  UiRect border_sizes_;
  UiSize border_round_;
  std::u16string border_color_;
  std::u16string bk_color_;
  StateColors state_colors_;
  ControlImage bk_image_;
  StateImages state_images_;
  StateImages fore_state_images_;
  std::u16string tooltip_text_;
  std::u16string tooltip_text_id_;
  int tooltip_width_ = 300;
  std::u16string data_id_;
  std::unique_ptr<UserData> user_data_;
  CursorType cursor_ = CursorType::kArrow;
  UiSize measured_;
  std::unique_ptr<IRenderContext> offscreen_;
  UiRect paint_rect_;
  bool in_resize_event_ = false;
  EventListeners listeners_;

  // Animations: hot fade and alpha fade; the others are on/off switches.
  std::unique_ptr<AnimationPlayer> hot_fade_;
  std::unique_ptr<AnimationPlayer> alpha_fade_;
  bool fade_width_ = false;
  bool fade_height_ = false;
  bool fade_in_out_[4] = {false, false, false, false};
  nbase::WeakCallbackFlag picture_timer_;
};

}  // namespace ui
