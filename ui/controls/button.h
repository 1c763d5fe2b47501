#pragma once

#include "ui/controls/label.h"

namespace ui {

// A label that clicks: a press and release inside it, or space or return
// while it has the keyboard, raises a click event on it.
template <typename Base>
class ButtonTemplate : public LabelTemplate<Base> {
 public:
  ButtonTemplate() { this->text_style_ = LabelTemplate<Base>::kDefaultLabelStyle | kTextCenter | kTextVCenter; }

  void Activate() override {
    if (!this->IsActivatable() || !this->window_) return;
    this->window_->SendNotify(this, EventType::kClick);
  }

  void HandleEvent(EventArgs& event) override {
    if (IsMouseEvent(event.type) && !this->IsMouseEnabled()) {
      if (this->parent_) this->parent_->DispatchEvent(event);
      return;
    }
    if (event.type == EventType::kKeyDown && this->IsKeyboardEnabled() &&
        (event.key_char == u' ' || event.key_char == u'\r')) {
      Activate();
      return;
    }
    if (event.type == EventType::kInternalContextMenu) {
      if (this->IsContextMenuUsed() && this->window_) {
        this->window_->SendNotify(this, EventType::kMouseMenu, event.w_param, event.l_param);
      }
      return;
    }
    LabelTemplate<Base>::HandleEvent(event);
  }
};

using Button = ButtonTemplate<Control>;
using ButtonBox = ButtonTemplate<Box>;

}  // namespace ui
