#include "ui/core/control.h"

#include <algorithm>

#include "platform/clock.h"
#include "tasks/timer_manager.h"
#include "ui/core/attribute_value.h"
#include "ui/core/box.h"
#include "ui/markup/utf.h"
#include "ui/render/image_info.h"
#include "ui/render/render_context.h"
#include "ui/resources/global_resources.h"

namespace ui {

namespace {

constexpr int kFadeDurationMs = 250;

GlobalResources& Res() { return GlobalResources::Instance(); }

int ParseSizeKeyword(std::u16string_view value) {
  if (value == u"stretch") return kSizeStretch;
  if (value == u"auto") return kSizeAuto;
  return ParseInt(value);
}

bool IsAbsolutePath(std::u16string_view path) {
  return !path.empty() && (path[0] == u'/' || path[0] == u'\\');
}

std::u16string ReplaceAll(std::u16string text, std::u16string_view from, std::u16string_view to) {
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::u16string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

}  // namespace

Control::Control() = default;

Control::~Control() {
  if (window_) window_->ReapControl(this);
}

// ---------------------------------------------------------------------------
// Measuring and placing

ControlImage* Control::SizingImage() {
  if (bk_image_.HasFile()) return &bk_image_;
  return FirstStateImageWithFile(state_images_);
}

ControlImage* Control::FirstStateImageWithFile(StateImages& images) {
  for (auto& image : images) {
    if (image.HasFile()) return &image;
  }
  return nullptr;
}

UiSize Control::Measure(UiSize available) {
  // Pass 1: fixed sizes need no measuring; an unchanged control keeps its cache.
  if (fixed_width_ != kSizeAuto && fixed_height_ != kSizeAuto) return {fixed_width_, fixed_height_};
  if (!remeasure_) return measured_;

  // Pass 2: the sizing picture. Its "source" fixes the size for good.
  UiSize size{fixed_width_, fixed_height_};
  if (ControlImage* image = SizingImage()) {
    if (image->spec.HasSource()) {
      int w = image->spec.source.Width();
      int h = image->spec.source.Height();
      if (w > 0) w = Res().ScaleValue(w);
      if (h > 0) h = Res().ScaleValue(h);
      SetFixedWidth(w);
      SetFixedHeight(h);
      return {fixed_width_, fixed_height_};
    }
    if (LoadImage(*image)) {
      if (fixed_width_ == kSizeAuto) size.cx = Res().ScaleValue(image->image->width);
      if (fixed_height_ == kSizeAuto) size.cy = Res().ScaleValue(image->image->height);
    }
  }

  // Pass 3: the text, which may ask to be measured again.
  remeasure_ = false;
  const UiSize text = MeasureText(available);
  if (fixed_width_ == kSizeAuto) size.cx = std::max(size.cx, text.cx);
  if (fixed_height_ == kSizeAuto) size.cy = std::max(size.cy, text.cy);
  measured_ = size;
  return size;
}

void Control::Repaint() {
  cache_dirty_ = true;
  PlaceHolder::Repaint();
}

IRenderContext* Control::GetMeasureContext() const {
  if (window_) {
    if (IRenderContext* context = window_->GetRenderContext()) return context;
  }
  // Text size does not depend on the surface: one shared context serves
  // controls that are not in a window yet (UI thread only).
  static std::unique_ptr<IRenderContext> shared;
  if (!shared) {
    if (IRenderFactory* factory = Res().RenderFactory()) shared = factory->CreateRenderContext();
  }
  return shared.get();
}

UiSize Control::MeasureText(UiSize available) {
  (void)available;
  return {};
}

void Control::SetPos(UiRect rect) {
  rect.right = std::max(rect.right, rect.left);
  rect.bottom = std::max(rect.bottom, rect.top);
  if (rect == rect_) {
    needs_layout_ = false;
    return;
  }
  const UiRect old = rect_;
  rect_ = rect;
  if (window_ && !in_resize_event_) {
    std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
    in_resize_event_ = true;
    RaiseEvent(EventType::kResize);
    if (alive.expired()) return;
    in_resize_event_ = false;
  }
  needs_layout_ = false;
  cache_dirty_ = true;
  InvalidateClipped(old.IsEmpty() ? rect_ : old.Union(rect_));
}

void Control::ArrangeMarked() {
  // Bounded: a control whose layout keeps marking itself must not hang the window.
  for (int round = 0; round < 1000; ++round) {
    Control* marked = VisitControls([](Control* c, void*) -> Control* { return c->NeedsLayout() ? c : nullptr; },
                                    nullptr, kFindVisible | kFindMeFirst);
    if (!marked) return;
    marked->SetPos(marked->Pos());
  }
}

void Control::SetMargin(UiRect margin, bool scale) {
  if (scale) margin = Res().ScaleRect(margin);
  if (margin == margin_) return;
  margin_ = margin;
  RequestAncestorLayout();
}

bool Control::ContainsPoint(UiPoint point) const {
  const UiPoint scroll = GetEnclosingScrollOffset();
  point.x += scroll.x;
  point.y += scroll.y;
  return rect_.Contains(point);
}

Control* Control::VisitControls(ControlVisitor visitor, void* data, unsigned flags, UiPoint point) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if ((flags & kFindHitTest) && (!IsMouseEnabled() || !ContainsPoint(point))) return nullptr;
  return visitor(this, data);
}

// ---------------------------------------------------------------------------
// Visibility, enabling, focus

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  const bool was_visible = IsVisible();
  visible_ = visible;
  focused_ = false;
  if (!visible && window_ && window_->GetFocusControl() == this) window_->SetFocusControl(nullptr);
  if (IsVisible() != was_visible) {
    // Hidden controls are not marked themselves; the parent makes room.
    remeasure_ = true;
    if (parent_) {
      parent_->RequestLayout();
    } else {
      RequestAncestorLayout();
    }
    if (!IsVisible()) {
      StopAnimationOfPicture();
      InvalidateClipped(rect_);
    }
  }
}

void Control::SetInheritedVisible(bool visible) {
  if (visible == inherited_visible_) return;
  inherited_visible_ = visible;
  focused_ = false;
  if (!visible && window_ && window_->GetFocusControl() == this) window_->SetFocusControl(nullptr);
  if (!IsVisible()) StopAnimationOfPicture();
}

void Control::SetFadeVisible(bool visible) {
  if (visible) {
    const bool was_hidden = !IsVisible();
    SetVisible(true);
    if (alpha_fade_) {
      // Showing also turns back a fade-out that is still running.
      alpha_fade_->SetCompleteCallback(nullptr);
      if (was_hidden) {
        alpha_fade_->Stop();
        alpha_fade_->SetCurrentValue(0);
        SetAlpha(0);
      }
      alpha_fade_->Play(true);
    }
    return;
  }
  if (alpha_fade_ && IsVisible()) {
    std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
    alpha_fade_->SetCompleteCallback([this, alive] {
      if (alive.expired()) return;
      SetVisible(false);
    });
    alpha_fade_->Play(false);
    return;
  }
  SetVisible(false);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    state_ = ControlState::Normal;
    hot_alpha_ = 0;
  } else {
    state_ = ControlState::Disabled;
  }
  Repaint();
}

void Control::SetFocus() {
  if (no_focus_ || !window_) return;
  window_->SetFocusControl(this);
}

// ---------------------------------------------------------------------------
// Tooltip and data

std::u16string Control::GetToolTipText() const {
  if (tooltip_text_.empty() && !tooltip_text_id_.empty()) return Res().LookupString(tooltip_text_id_);
  return tooltip_text_;
}

std::string Control::GetToolTipTextUtf8() const { return Utf16ToUtf8(GetToolTipText()); }

void Control::SetToolTipText(std::u16string_view text) {
  tooltip_text_ = ReplaceAll(std::u16string(text), u"<n>", u"\r\n");
}

void Control::SetToolTipTextUtf8(std::string_view text) { SetToolTipText(Utf8ToUtf16(text)); }
void Control::SetToolTipTextId(std::u16string_view id) { tooltip_text_id_.assign(id); }
void Control::SetToolTipTextIdUtf8(std::string_view id) { SetToolTipTextId(Utf8ToUtf16(id)); }
std::string Control::GetDataIdUtf8() const { return Utf16ToUtf8(data_id_); }
void Control::SetDataIdUtf8(std::string_view id) { SetDataId(Utf8ToUtf16(id)); }

// ---------------------------------------------------------------------------
// Look setters

void Control::SetState(ControlState state) {
  state_ = state;
  if (state == ControlState::Normal) hot_alpha_ = 0;
  if (state == ControlState::Hot) hot_alpha_ = 255;
  Repaint();
}

void Control::SetHotAlpha(int alpha) {
  hot_alpha_ = std::clamp(alpha, 0, 255);
  Repaint();
}

void Control::SetAlpha(int alpha) {
  alpha_ = std::clamp(alpha, 0, 255);
  Repaint();
}

void Control::SetBkColor(std::u16string_view name) {
  if (bk_color_ == name) return;
  bk_color_.assign(name);
  Repaint();
}

void Control::SetStateColor(ControlState state, std::u16string_view name) {
  state_colors_[Index(state)].assign(name);
  if (state == ControlState::Hot) SetHotFade(true);
  Repaint();
}

void Control::SetBorderColor(std::u16string_view name) {
  border_color_.assign(name);
  Repaint();
}

void Control::SetBorderSize(int size) {
  border_size_ = size;
  border_sizes_ = {};
  Repaint();
}

void Control::SetBorderSizes(const UiRect& sizes) {
  border_sizes_ = sizes;
  Repaint();
}

void Control::SetBorderRound(UiSize round) {
  border_round_ = round;
  Repaint();
}

void Control::SetRenderOffset(UiPoint offset) {
  render_offset_ = offset;
  Repaint();
}

void Control::SetBkImage(std::u16string_view text) {
  StopAnimationOfPicture();
  bk_image_.SetImageString(text);
  if (IsAutoSized()) {
    RequestAncestorLayout();
  } else {
    Repaint();
  }
}

void Control::SetStateImage(ControlState state, std::u16string_view text) {
  state_images_[Index(state)].SetImageString(text);
  if (state == ControlState::Hot) SetHotFade(true);
  if (IsAutoSized()) {
    RequestAncestorLayout();
  } else {
    Repaint();
  }
}

void Control::SetForeStateImage(ControlState state, std::u16string_view text) {
  fore_state_images_[Index(state)].SetImageString(text);
  if (state == ControlState::Hot) SetHotFade(true);
  Repaint();
}

void Control::SetHotFade(bool on) {
  if (!on) {
    hot_fade_.reset();
    return;
  }
  if (hot_fade_) return;
  hot_fade_ = std::make_unique<AnimationPlayer>(0, 255, kFadeDurationMs);
  hot_fade_->SetCurrentValue(hot_alpha_);
  hot_fade_->SetStepCallback([this](int value) { SetHotAlpha(value); });
}

void Control::SetAlphaFade(bool on) {
  if (!on) {
    alpha_fade_.reset();
    return;
  }
  if (alpha_fade_) return;
  alpha_fade_ = std::make_unique<AnimationPlayer>(0, 255, kFadeDurationMs);
  alpha_fade_->SetCurrentValue(IsVisible() ? 255 : 0);
  alpha_fade_->SetStepCallback([this](int value) { SetAlpha(value); });
}

AnimationPlayer* Control::RecreateAlphaFade() {
  alpha_fade_.reset();
  SetAlphaFade(true);
  alpha_fade_->SetCurrentValue(0);
  SetAlpha(0);
  return alpha_fade_.get();
}

// ---------------------------------------------------------------------------
// Attributes

void Control::ApplyAttributeText(std::u16string_view list) {
  ForEachAttribute(list, [this](std::u16string_view name, std::u16string_view value) { SetAttribute(name, value); });
}

void Control::SetAttribute(std::u16string_view name, std::u16string_view value) {
  static constexpr std::u16string_view kStateNames[] = {u"normal", u"hot", u"pushed", u"disabled"};
  // "<state>color", "<state>image" and "fore<state>image".
  for (int s = 0; s < kControlStateCount; ++s) {
    const std::u16string_view state_name = kStateNames[s];
    if (name.size() > state_name.size() && name.substr(0, state_name.size()) == state_name) {
      const std::u16string_view rest = name.substr(state_name.size());
      if (rest == u"color") return SetStateColor(static_cast<ControlState>(s), value);
      if (rest == u"image") return SetStateImage(static_cast<ControlState>(s), value);
    }
    if (name.size() > 4 && name.substr(0, 4) == u"fore" && name.substr(4) == std::u16string(state_name) + u"image") {
      return SetForeStateImage(static_cast<ControlState>(s), value);
    }
  }

  if (name == u"class") {
    for (std::u16string_view class_name : SplitWords(value)) {
      std::u16string list = Res().LookupClassStyle(class_name);
      if (list.empty() && window_) list = window_->GetClassAttributes(class_name);
      if (!list.empty()) ApplyAttributeText(list);
    }
  } else if (name == u"halign") {
    if (value == u"left") SetHorAlign(HorAlign::kLeft);
    else if (value == u"center") SetHorAlign(HorAlign::kCenter);
    else if (value == u"right") SetHorAlign(HorAlign::kRight);
  } else if (name == u"valign") {
    if (value == u"top") SetVerAlign(VerAlign::kTop);
    else if (value == u"center") SetVerAlign(VerAlign::kCenter);
    else if (value == u"bottom") SetVerAlign(VerAlign::kBottom);
  } else if (name == u"margin") {
    SetMargin(ParseFrame(value), true);
  } else if (name == u"bkcolor" || name == u"bkcolor1") {
    SetBkColor(SkipBlanks(value));
  } else if (name == u"bordersize") {
    if (value.find(u',') != std::u16string_view::npos) {
      SetBorderSizes(Res().ScaleRect(ParseFrame(value)));
    } else {
      SetBorderSize(Res().ScaleValue(ParseInt(value)));
    }
  } else if (name == u"borderround") {
    UiSize round = ParsePair(value);
    SetBorderRound({Res().ScaleValue(round.cx), Res().ScaleValue(round.cy)});
  } else if (name == u"width" || name == u"height") {
    int v = ParseSizeKeyword(value);
    if (v < kSizeAuto) return;
    if (v > 0) v = Res().ScaleValue(v);
    name == u"width" ? SetFixedWidth(v) : SetFixedHeight(v);
  } else if (name == u"minwidth" || name == u"minheight") {
    int v = Res().ScaleValue(ParseInt(value));
    if (v < 0) return;
    name == u"minwidth" ? SetMinWidth(v) : SetMinHeight(v);
  } else if (name == u"maxwidth" || name == u"maxheight") {
    int v = Res().ScaleValue(ParseSizeKeyword(value));
    name == u"maxwidth" ? SetMaxWidth(v) : SetMaxHeight(v);
  } else if (name == u"state") {
    if (value == u"normal") SetState(ControlState::Normal);
    else if (value == u"hot") SetState(ControlState::Hot);
    else if (value == u"pushed") SetState(ControlState::Pushed);
    else if (value == u"disabled") SetState(ControlState::Disabled);
  } else if (name == u"cursortype") {
    if (value == u"arrow") cursor_ = CursorType::kArrow;
    else if (value == u"hand") cursor_ = CursorType::kHand;
    else if (value == u"ibeam") cursor_ = CursorType::kIBeam;
  } else if (name == u"renderoffset") {
    UiSize offset = ParsePair(value);
    SetRenderOffset({Res().ScaleValue(offset.cx), Res().ScaleValue(offset.cy)});
  } else if (name == u"bordercolor") {
    SetBorderColor(value);
  } else if (name == u"leftbordersize" || name == u"topbordersize" || name == u"rightbordersize" ||
             name == u"bottombordersize") {
    UiRect sizes = border_sizes_;
    const int v = Res().ScaleValue(ParseInt(value));
    if (name[0] == u'l') sizes.left = v;
    else if (name[0] == u't') sizes.top = v;
    else if (name[0] == u'r') sizes.right = v;
    else sizes.bottom = v;
    SetBorderSizes(sizes);
  } else if (name == u"bkimage") {
    SetBkImage(value);
  } else if (name == u"name") {
    SetName(value);
  } else if (name == u"tooltiptext") {
    SetToolTipText(value);
  } else if (name == u"tooltiptextid") {
    SetToolTipTextId(value);
  } else if (name == u"dataid") {
    SetDataId(value);
  } else if (name == u"enabled") {
    SetEnabled(ParseBool(value));
  } else if (name == u"mouse") {
    SetMouseEnabled(ParseBool(value));
  } else if (name == u"keyboard") {
    SetKeyboardEnabled(ParseBool(value));
  } else if (name == u"visible") {
    SetVisible(ParseBool(value));
  } else if (name == u"fadevisible") {
    SetFadeVisible(ParseBool(value));
  } else if (name == u"float") {
    SetFloat(ParseBool(value));
  } else if (name == u"menu") {
    SetContextMenuUsed(ParseBool(value));
  } else if (name == u"cache") {
    cache_ = ParseBool(value);
    cache_dirty_ = true;
  } else if (name == u"nofocus") {
    no_focus_ = true;
  } else if (name == u"alpha") {
    SetAlpha(ParseInt(value));
  } else if (name == u"fadealpha") {
    SetAlphaFade(ParseBool(value));
  } else if (name == u"fadehot") {
    SetHotFade(ParseBool(value));
  } else if (name == u"fadewidth") {
    fade_width_ = ParseBool(value);
  } else if (name == u"fadeheight") {
    fade_height_ = ParseBool(value);
  } else if (name == u"fadeinoutxfromleft") {
    fade_in_out_[0] = ParseBool(value);
  } else if (name == u"fadeinoutxfromright") {
    fade_in_out_[1] = ParseBool(value);
  } else if (name == u"fadeinoutyfromtop") {
    fade_in_out_[2] = ParseBool(value);
  } else if (name == u"fadeinoutyfrombottom") {
    fade_in_out_[3] = ParseBool(value);
  } else if (name == u"receivepointer") {
    receive_pointer_ = ParseBool(value);
  }
}

// ---------------------------------------------------------------------------
// Events

void Control::AttachEvent(EventType type, EventCallback callback) {
  listeners_.code[type].push_back(std::move(callback));
}

void Control::AttachXmlEvent(EventType type, EventCallback callback) {
  listeners_.markup[type].push_back(std::move(callback));
}

void Control::DetachEvent(EventType type) { listeners_.code.erase(type); }

EventArgs Control::MakeEvent(Control* sender, EventType type, UiPoint point, uintptr_t wparam, intptr_t lparam) {
  EventArgs event;
  event.type = type;
  event.sender = sender;
  event.timestamp = platform::TickCount();
  event.mouse_point = point;
  event.w_param = wparam;
  event.l_param = lparam;
  return event;
}

void Control::RaiseEvent(EventType type, uintptr_t wparam, intptr_t lparam) {
  EventArgs event = MakeEvent(this, type, window_ ? window_->GetLastMousePos() : UiPoint{}, wparam, lparam);
  DispatchEvent(event);
}

bool Control::DeliverToListenersOf(EventArgs& event, bool is_box) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  const EventDelivery delivery = DeliverToListeners(listeners_, &event, event.sender == this, is_box,
                                                    [&alive] { return !alive.expired(); });
  return delivery == EventDelivery::kHandle;
}

void Control::DispatchEvent(EventArgs& event) {
  if (DeliverToListenersOf(event, false)) HandleEvent(event);
}

bool Control::HasHotState() { return HasHotImageOrColor(state_colors_, state_images_, fore_state_images_); }

bool Control::HasHotImageOrColor(const StateColors& colors, const StateImages& images,
                                 const StateImages& fore) const {
  const int hot = Index(ControlState::Hot);
  return !colors[hot].empty() || images[hot].HasFile() || fore[hot].HasFile();
}

void Control::HandleEvent(EventArgs& event) {
  const EventType type = event.type;
  // A descendant's event reaches the parent through the parent's delivery.
  auto pass_on = [&] {
    if (parent_) parent_->DispatchEvent(event);
  };
  if (IsMouseEvent(type) && !IsMouseEnabled()) return pass_on();

  // True when the window's new hover control is this control or inside it.
  auto hover_inside = [&]() -> int {
    Control* hover = window_ ? window_->GetNewHoverControl() : nullptr;
    if (!hover) return -1;
    for (Control* c = hover; c; c = c->GetParent()) {
      if (c == this) return 1;
    }
    return 0;
  };

  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  switch (type) {
    case EventType::kMouseEnter: {
      if (event.sender != this && window_) {
        if (hover_inside() != 1) return;
      }
      OnMouseEnter(event);
      if (!alive.expired()) pass_on();
      return;
    }
    case EventType::kMouseLeave: {
      if (event.sender != this && window_ && hover_inside() == 1) return;
      OnMouseLeave(event);
      if (!alive.expired()) pass_on();
      return;
    }
    case EventType::kMouseButtonDown:
    case EventType::kInternalDoubleClick:
      OnButtonDown(event);
      return;
    case EventType::kPointDown:
      if (receive_pointer_) {
        OnButtonDown(event);
        return;
      }
      break;
    case EventType::kMouseButtonUp:
      OnButtonUp(event);
      return;
    case EventType::kPointUp:
      if (receive_pointer_) {
        OnButtonUp(event);
        return;
      }
      break;
    case EventType::kInternalSetFocus:
      focused_ = true;
      Repaint();
      return;
    case EventType::kInternalKillFocus:
      focused_ = false;
      Repaint();
      return;
    case EventType::kSetCursor:
      if (window_) {
        CursorType cursor = GetCursorType();
        if (cursor == CursorType::kHand && !IsEnabled()) cursor = CursorType::kArrow;
        window_->SetCursor(cursor);
      }
      return;
    case EventType::kInternalContextMenu:
      if (IsEnabled() && IsContextMenuUsed() && window_) {
        window_->SendNotify(this, EventType::kMouseMenu, event.w_param, event.l_param);
      }
      return;
    default:
      break;
  }
  pass_on();
}

void Control::OnMouseEnter(EventArgs& event) {
  (void)event;
  if (!IsEnabled() || state_ != ControlState::Normal) return;
  state_ = ControlState::Hot;
  if (HasHotState()) {
    if (hot_fade_) {
      hot_fade_->SetCurrentValue(hot_alpha_);
      hot_fade_->Play(true);
    } else {
      hot_alpha_ = 255;
    }
    Repaint();
  }
}

void Control::OnMouseLeave(EventArgs& event) {
  (void)event;
  if (!IsEnabled() || state_ != ControlState::Hot) return;
  state_ = ControlState::Normal;
  if (HasHotState()) {
    if (hot_fade_) {
      hot_fade_->SetCurrentValue(hot_alpha_);
      hot_fade_->Play(false);
    } else {
      hot_alpha_ = 0;
    }
    Repaint();
  }
}

bool Control::OnButtonDown(EventArgs& event) {
  (void)event;
  if (!IsEnabled()) return false;
  state_ = ControlState::Pushed;
  SetMouseCaptured(true);
  Repaint();
  return true;
}

bool Control::OnButtonUp(EventArgs& event) {
  if (!IsMouseCaptured()) return false;
  SetMouseCaptured(false);
  if (hot_fade_) hot_fade_->Stop();
  Repaint();
  if (!ContainsPoint(event.mouse_point)) {
    state_ = ControlState::Normal;
    hot_alpha_ = 0;
    return false;
  }
  if (event.type == EventType::kPointUp) {
    state_ = ControlState::Normal;
    hot_alpha_ = 0;
  } else {
    state_ = ControlState::Hot;
    hot_alpha_ = 255;
  }
  Activate();
  return true;
}

// ---------------------------------------------------------------------------
// Pictures

bool Control::LoadImage(ControlImage& image) {
  if (image.image) return true;
  if (!image.HasFile()) return false;
  std::u16string path;
  if (IsAbsolutePath(image.spec.file_name)) {
    path = image.spec.file_name;
  } else {
    path = Res().ResourceFolder();
    if (window_) path += window_->GetResourcePath();
    path += image.spec.file_name;
  }
  std::replace(path.begin(), path.end(), u'\\', u'/');
  image.image = Res().LoadImageShared(path);
  return image.image != nullptr;
}

void Control::PreloadImages() {
  LoadImage(bk_image_);
  for (auto& image : state_images_) LoadImage(image);
  for (auto& image : fore_state_images_) LoadImage(image);
}

void Control::UnloadImages() { ClearImageCache(); }

void Control::ClearImageCache() {
  StopAnimationOfPicture();
  bk_image_.ClearCache();
  for (auto& image : state_images_) image.ClearCache();
  for (auto& image : fore_state_images_) image.ClearCache();
}

void Control::StopAnimationOfPicture() {
  picture_timer_.Cancel();
  bk_image_.playing = false;
}

bool Control::DrawImage(IRenderContext* render, ControlImage& image, std::u16string_view modifier, int fade) {
  if (!image.HasFile() || !LoadImage(image)) return false;
  ImageSpec spec = image.spec;
  if (!modifier.empty()) spec.Modify(modifier);

  UiRect dest = rect_;
  if (spec.HasDest()) {
    dest = {rect_.left + spec.dest.left, rect_.top + spec.dest.top, rect_.left + spec.dest.right,
            rect_.top + spec.dest.bottom};
  }
  const ImageInfo& info = *image.image;
  const UiRect source = spec.HasSource() ? spec.source : UiRect{0, 0, info.width, info.height};

  // An animated background starts playing on its first paint.
  if (&image == &bk_image_ && info.IsAnimated() && !image.playing && image.spec.play_count != 0 &&
      (image.spec.play_count < 0 || image.played < image.spec.play_count)) {
    image.playing = true;
    const int delay = std::max(info.FrameDelayMs(image.current_frame), 10);
    nbase::TimerManager::GetInstance()->AddTimer(
        picture_timer_.GetWeakFlag(),
        [this] {
          ControlImage& bk = bk_image_;
          if (!bk.image) return;
          if (++bk.current_frame >= bk.image->FrameCount()) {
            bk.current_frame = 0;
            ++bk.played;
            if (bk.spec.play_count > 0 && bk.played >= bk.spec.play_count) {
              bk.current_frame = bk.image->FrameCount() - 1;
              picture_timer_.Cancel();
            }
          }
          Repaint();
        },
        static_cast<uint32_t>(delay), -1);
    return true;
  }
  const int draw_fade = fade >= 0 ? std::min(fade, 255) : spec.fade;
  render->DrawImage(paint_rect_, info.Frame(image.current_frame), info.has_alpha, dest, source, spec.corner,
                    static_cast<uint8_t>(draw_fade), spec.xtiled, spec.ytiled);
  return true;
}

// ---------------------------------------------------------------------------
// Painting

void Control::FillColor(IRenderContext* render, std::u16string_view color_name, int alpha, const UiRect* rect) {
  if (color_name.empty()) return;
  const uint32_t color = Res().LookupColor(color_name);
  if (color == 0) return;
  render->FillRect(rect ? *rect : rect_, color, static_cast<uint8_t>(std::clamp(alpha, 0, 255)));
}

void Control::PaintWithAlpha(IRenderContext* render, const UiRect& paint_rect) {
  // Pass 1: fully transparent or outside the repainted area: nothing.
  if (alpha_ == 0 || rect_.Intersect(paint_rect).IsEmpty()) return;

  // Pass 2: clip to the position, rounded when the border is.
  AutoClip clip(render, rect_);
  AutoClip round_clip(render, rect_, border_round_.cx, border_round_.cy,
                      border_round_.cx > 0 || border_round_.cy > 0);

  // Pass 3: through an offscreen target (translucent or cached), or directly.
  const bool translucent = alpha_ < 255;
  if (translucent || cache_) {
    if (!offscreen_) {
      IRenderFactory* factory = Res().RenderFactory();
      if (factory) offscreen_ = factory->CreateRenderContext();
    }
  }
  if ((translucent || cache_) && offscreen_) {
    const bool resized = offscreen_->Resize(rect_.Width(), rect_.Height());
    if (translucent || resized || cache_dirty_) {
      offscreen_->Clear();
      AutoOrigin origin(offscreen_.get(), {rect_.left + render_offset_.x, rect_.top + render_offset_.y});
      Paint(offscreen_.get(), rect_);
      if (translucent) PaintChildren(offscreen_.get(), rect_);
      cache_dirty_ = false;
    }
    render->AlphaBlend(*offscreen_, {rect_.left, rect_.top}, static_cast<uint8_t>(alpha_));
    if (!translucent) PaintChildren(render, paint_rect);
    return;
  }
  AutoOrigin origin(render, render_offset_);
  Paint(render, paint_rect);
  PaintChildren(render, paint_rect);
}

void Control::Paint(IRenderContext* render, const UiRect& paint_rect) {
  paint_rect_ = paint_rect.Intersect(rect_);
  PaintBkColor(render);
  PaintBkImage(render);
  PaintStateColors(render);
  PaintStateImages(render);
  PaintText(render);
  PaintBorder(render);
}

void Control::PaintChildren(IRenderContext* render, const UiRect& paint_rect) {
  (void)render;
  (void)paint_rect;
}

void Control::PaintBkColor(IRenderContext* render) {
  if (bk_color_.empty()) return;
  const uint32_t color = Res().LookupColor(bk_color_);
  if (color == 0) return;
  render->FillRect((color >> 24) == 0xFF ? paint_rect_ : rect_, color, 255);
}

void Control::PaintBkImage(IRenderContext* render) { DrawImage(render, bk_image_); }

void Control::PaintStateColors(IRenderContext* render) { PaintStateColorsOf(render, state_colors_); }

void Control::PaintStateColorsOf(IRenderContext* render, StateColors& colors) {
  ControlState s = state_;
  const auto& hot = colors[Index(ControlState::Hot)];
  if (hot_fade_ && (s == ControlState::Normal || s == ControlState::Hot) && !hot.empty()) {
    FillColor(render, colors[Index(ControlState::Normal)], 255);
    if (hot_alpha_ >= 1) FillColor(render, hot, hot_alpha_);
    return;
  }
  if (s == ControlState::Pushed && colors[Index(s)].empty()) s = ControlState::Hot;
  if (s == ControlState::Hot && colors[Index(s)].empty()) s = ControlState::Normal;
  if (s == ControlState::Disabled && colors[Index(s)].empty()) s = ControlState::Normal;
  FillColor(render, colors[Index(s)], 255);
}

void Control::PaintStateImages(IRenderContext* render) {
  PaintStateImagesOf(render, state_images_);
  PaintStateImagesOf(render, fore_state_images_);
}

void Control::PaintStateImagesOf(IRenderContext* render, StateImages& images) {
  ControlState s = state_;
  ControlImage& normal = images[Index(ControlState::Normal)];
  ControlImage& hot = images[Index(ControlState::Hot)];
  if (hot_fade_ && (s == ControlState::Normal || s == ControlState::Hot)) {
    const double h = hot_alpha_ / 255.0;
    // One picture serving both states (same file, same part) is drawn once with
    // the fades mixed. Different pictures cross-fade: the normal one, then the hot
    // one over it at the hot strength. (Drawing only the hot picture for two
    // different files would show every control as hovered while the mouse is away.)
    if (normal.HasFile() && hot.HasFile() && normal.spec.file_name == hot.spec.file_name &&
        normal.spec.source == hot.spec.source) {
      DrawImage(render, hot, {}, static_cast<int>(hot.spec.fade * h + normal.spec.fade * (1 - h)));
    } else {
      DrawImage(render, normal);
      if (hot_alpha_ >= 1) DrawImage(render, hot, {}, static_cast<int>(hot.spec.fade * h));
    }
    return;
  }
  if (s == ControlState::Pushed && !images[Index(s)].HasFile()) {
    s = ControlState::Hot;
    hot.spec.fade = 255;
  }
  if (s == ControlState::Hot && !images[Index(s)].HasFile()) s = ControlState::Normal;
  if (s == ControlState::Disabled && !images[Index(s)].HasFile()) s = ControlState::Normal;
  DrawImage(render, images[Index(s)]);
}

void Control::PaintBorder(IRenderContext* render) {
  if (border_color_.empty()) return;
  const uint32_t color = Res().LookupColor(border_color_);
  if (color == 0) return;
  const UiRect& r = rect_;
  const UiRect& b = border_sizes_;
  if (b.left > 0 || b.top > 0 || b.right > 0 || b.bottom > 0) {
    // Lines cover up to, not including, their far end.
    if (b.left > 0) render->DrawLine({r.left + b.left / 2, r.top}, {r.left + b.left / 2, r.bottom}, b.left, color);
    if (b.top > 0) render->DrawLine({r.left, r.top + b.top / 2}, {r.right, r.top + b.top / 2}, b.top, color);
    if (b.right > 0) {
      const int x = r.right - (b.right + 1) / 2;
      render->DrawLine({x, r.top}, {x, r.bottom}, b.right, color);
    }
    if (b.bottom > 0) {
      const int y = r.bottom - (b.bottom + 1) / 2;
      render->DrawLine({r.left, y}, {r.right, y}, b.bottom, color);
    }
    return;
  }
  const int n = border_size_;
  if (n < 1) return;
  UiRect rect{r.left + n / 2, r.top + n / 2, r.right - n / 2, r.bottom - n / 2};
  if (n % 2 == 1) {
    rect.right -= 1;
    rect.bottom -= 1;
  }
  render->DrawRect(rect, n, color);
}

}  // namespace ui
