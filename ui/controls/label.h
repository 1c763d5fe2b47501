#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>

#include "ui/core/attribute_value.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/markup/utf.h"
#include "ui/render/font.h"
#include "ui/render/render_context.h"
#include "ui/resources/global_resources.h"

namespace ui {

// Text over a base (Control or Box): a font from the global font table,
// format flags, a colour per state and a text padding.
template <typename Base>
class LabelTemplate : public Base {
 public:
  static constexpr uint32_t kDefaultLabelStyle = kTextSingleLine | kTextNoClip | kTextEndEllipsis;

  LabelTemplate() {
    text_colors_[Control::Index(ControlState::Normal)] = GlobalResources::Instance().DefaultTextColorName();
    text_colors_[Control::Index(ControlState::Disabled)] =
        GlobalResources::Instance().DefaultDisabledTextColorName();
    if constexpr (!std::is_base_of_v<Box, Base>) {
      this->SetFixedWidth(kSizeAuto, false);
      this->SetFixedHeight(kSizeAuto, false);
    }
  }

  virtual std::u16string GetText() const {
    if (text_.empty() && !text_id_.empty()) return GlobalResources::Instance().LookupString(text_id_);
    return text_;
  }
  virtual std::string GetTextUtf8() const { return Utf16ToUtf8(GetText()); }
  virtual void SetText(std::u16string_view text) {
    if (text_ == text) return;
    text_.assign(text);
    RelayoutOrRepaint();
  }
  virtual void SetTextUtf8(std::string_view text) { SetText(Utf8ToUtf16(text)); }
  virtual void SetTextId(std::u16string_view id) {
    if (text_id_ == id) return;
    text_id_.assign(id);
    RelayoutOrRepaint();
  }
  virtual void SetTextIdUtf8(std::string_view id) { SetTextId(Utf8ToUtf16(id)); }

  int GetFont() const { return font_; }
  void SetFont(int index) {
    font_ = index;
    this->Repaint();
  }
  uint32_t GetTextStyle() const { return text_style_; }
  void SetTextStyle(uint32_t style) {
    text_style_ = style;
    this->Repaint();
  }
  bool IsSingleLine() const { return single_line_; }
  void SetSingleLine(bool on) {
    if (single_line_ == on) return;
    single_line_ = on;
    this->Repaint();
  }
  bool IsLineLimit() const { return line_limit_; }
  UiRect GetTextPadding() const { return text_padding_; }
  void SetTextPadding(UiRect padding) {
    text_padding_ = GlobalResources::Instance().ScaleRect(padding);
    RelayoutOrRepaint();
  }
  const std::u16string& GetStateTextColor(ControlState state) const { return text_colors_[Control::Index(state)]; }
  void SetStateTextColor(ControlState state, std::u16string_view name) {
    text_colors_[Control::Index(state)].assign(name);
    if (state == ControlState::Hot) this->SetHotFade(true);
    this->Repaint();
  }

  void SetAttribute(std::u16string_view name, std::u16string_view value) override {
    if (name == u"text") {
      SetText(value);
    } else if (name == u"textid") {
      SetTextId(value);
    } else if (name == u"font") {
      SetFont(ParseInt(value));
    } else if (name == u"normaltextcolor") {
      SetStateTextColor(ControlState::Normal, value);
    } else if (name == u"hottextcolor") {
      SetStateTextColor(ControlState::Hot, value);
    } else if (name == u"pushedtextcolor") {
      SetStateTextColor(ControlState::Pushed, value);
    } else if (name == u"disabledtextcolor") {
      SetStateTextColor(ControlState::Disabled, value);
    } else if (name == u"textpadding") {
      SetTextPadding(ParseFrame(value));
    } else if (name == u"align") {
      ApplyAlign(value);
    } else if (name == u"endellipsis") {
      ParseBool(value) ? text_style_ |= kTextEndEllipsis : text_style_ &= ~kTextEndEllipsis;
    } else if (name == u"linelimit") {
      const bool on = ParseBool(value);
      if (on != line_limit_) {
        line_limit_ = on;
        this->Repaint();
      }
    } else if (name == u"singleline") {
      SetSingleLine(ParseBool(value));
    } else {
      Base::SetAttribute(name, value);
    }
  }

  UiSize MeasureText(UiSize available) override {
    SyncSingleLine();
    const std::u16string text = GetText();
    if (text.empty()) return {};
    IRenderContext* context = this->GetMeasureContext();
    if (!context) return {};
    const UiRect& pad = text_padding_;
    UiRect bounds = context->MeasureText(text, font_, text_style_, std::max(this->fixed_width_, 0));
    UiSize size{this->fixed_width_, this->fixed_height_};
    if (this->fixed_width_ == kSizeAuto) size.cx = bounds.Width() + pad.left + pad.right;
    if (this->fixed_height_ == kSizeAuto) {
      // Multi-line text wider than the room offered wraps to that width,
      // and is measured again when the room changes.
      if (!single_line_ && this->fixed_width_ == kSizeAuto && this->max_width_ == kSizeStretch) {
        const int room = available.cx - pad.left - pad.right;
        if (room > 0 && bounds.Width() > room) {
          bounds = context->MeasureText(text, font_, text_style_, room);
          this->remeasure_ = true;
        }
        size.cx = bounds.Width() + pad.left + pad.right;
      }
      size.cy = bounds.Height() + pad.top + pad.bottom;
    }
    return size;
  }

  void PaintText(IRenderContext* render) override {
    const std::u16string text = GetText();
    if (text.empty()) return;
    SyncSingleLine();
    const UiRect rect = TextRect();
    ControlState s = this->state_;
    if (s == ControlState::Pushed && GetStateTextColor(s).empty()) s = ControlState::Hot;
    if (s == ControlState::Hot && GetStateTextColor(s).empty()) s = ControlState::Normal;
    if (s == ControlState::Disabled && GetStateTextColor(s).empty()) s = ControlState::Normal;

    const std::u16string& hot = GetStateTextColor(ControlState::Hot);
    if (this->IsHotFadeOn() && (this->state_ == ControlState::Normal || this->state_ == ControlState::Hot) &&
        !hot.empty()) {
      const std::u16string& normal = GetStateTextColor(ControlState::Normal);
      if (!normal.empty()) DrawTextIn(render, rect, text, normal, 255, line_limit_);
      if (this->hot_alpha_ >= 1) DrawTextIn(render, rect, text, hot, this->hot_alpha_, line_limit_);
      return;
    }
    DrawTextIn(render, rect, text, GetStateTextColor(s), 255, line_limit_);
  }

  bool HasHotState() override {
    if (!GetStateTextColor(ControlState::Hot).empty()) return true;
    return Base::HasHotState();
  }

 protected:
  UiRect TextRect() const {
    const UiRect& pos = this->rect_;
    return {pos.left + text_padding_.left, pos.top + text_padding_.top, pos.right - text_padding_.right,
            pos.bottom - text_padding_.bottom};
  }

  void DrawTextIn(IRenderContext* render, const UiRect& rect, const std::u16string& text,
                  const std::u16string& color_name, int alpha, bool line_limit) {
    if (color_name.empty()) return;
    const uint32_t color = GlobalResources::Instance().LookupColor(color_name);
    if (color == 0) return;
    render->DrawText(rect, text, color, font_, text_style_, static_cast<uint8_t>(alpha), line_limit);
  }

  void SyncSingleLine() {
    if (single_line_) {
      text_style_ |= kTextSingleLine;
    } else {
      text_style_ &= ~kTextSingleLine;
    }
  }

  void RelayoutOrRepaint() {
    if (this->IsAutoSized()) {
      this->RequestAncestorLayout();
    } else {
      this->Repaint();
    }
  }

  // Words are looked for as substrings, so "vcenter" also contains "center".
  void ApplyAlign(std::u16string_view value) {
    auto has = [value](std::u16string_view word) { return value.find(word) != std::u16string_view::npos; };
    uint32_t& s = text_style_;
    if (has(u"left")) s &= ~(kTextCenter | kTextRight | kTextVCenter | kTextSingleLine);
    if (has(u"center")) {
      s &= ~kTextRight;
      s |= kTextCenter;
    }
    if (has(u"right")) {
      s &= ~(kTextCenter | kTextVCenter | kTextSingleLine);
      s |= kTextRight;
    }
    if (has(u"top")) {
      s &= ~(kTextVCenter | kTextBottom);
      s |= kTextSingleLine;
    }
    if (has(u"vcenter")) {
      s &= ~kTextBottom;
      s |= kTextCenter | kTextVCenter | kTextSingleLine;
    }
    if (has(u"bottom")) {
      s &= ~kTextVCenter;
      s |= kTextBottom | kTextSingleLine;
    }
    this->Repaint();
  }

  int font_ = 1;
  uint32_t text_style_ = kDefaultLabelStyle;
  bool single_line_ = true;
  bool line_limit_ = false;
  UiRect text_padding_;
  std::u16string text_;
  std::u16string text_id_;
  StateColors text_colors_;
};

using Label = LabelTemplate<Control>;
using LabelBox = LabelTemplate<Box>;

}  // namespace ui
