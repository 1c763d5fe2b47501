#pragma once

#include <vector>

#include "ui/controls/check_box.h"

namespace ui {

// A check box in a group of its window: selecting one deselects the others.
// Clicking only ever selects.
template <typename Base>
class OptionTemplate : public CheckBoxTemplate<Base> {
 public:
  ~OptionTemplate() override {
    if (this->window_ && !group_.empty()) this->window_->RemoveOptionGroup(group_, this);
  }

  void SetOwner(WindowHost* window, Box* parent, bool init) override {
    CheckBoxTemplate<Base>::SetOwner(window, parent, init);
    if (init && parent && window && !group_.empty()) window->AddOptionGroup(group_, this);
  }

  const std::u16string& GetGroup() const { return group_; }

  void SetGroup(std::u16string_view group) {
    if (group == group_) return;
    if (this->window_ && !group_.empty()) this->window_->RemoveOptionGroup(group_, this);
    group_.assign(group);
    if (this->window_ && !group_.empty()) this->window_->AddOptionGroup(group_, this);
    SetSelected(this->selected_, true);
  }

  // Stores the value even when unchanged, so that re-selecting re-announces.
  void SetSelected(bool selected, bool raise_event = true) override {
    this->selected_ = selected;
    if (this->window_) {
      std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
      if (selected) {
        if (!group_.empty()) {
          if (const std::vector<Control*>* members = this->window_->GetOptionGroup(group_)) {
            const std::vector<Control*> others = *members;  // members may change while they hear of it
            for (Control* other : others) {
              if (other == this) continue;
              if (auto* option = dynamic_cast<OptionTemplate<Control>*>(other)) {
                option->SetSelected(false, raise_event);
              } else if (auto* option_box = dynamic_cast<OptionTemplate<Box>*>(other)) {
                option_box->SetSelected(false, raise_event);
              }
              if (alive.expired()) return;
            }
          }
        }
        if (raise_event) this->window_->SendNotify(this, EventType::kSelect);
      } else {
        this->window_->SendNotify(this, EventType::kUnSelect);
      }
      if (alive.expired()) return;
    }
    this->Repaint();
  }

  void Activate() override {
    if (!this->IsActivatable() || !this->window_) return;
    std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
    this->window_->SendNotify(this, EventType::kClick);
    if (alive.expired()) return;
    SetSelected(true, true);
  }

  void SetAttribute(std::u16string_view name, std::u16string_view value) override {
    if (name == u"group") {
      SetGroup(value);
    } else {
      CheckBoxTemplate<Base>::SetAttribute(name, value);
    }
  }

 private:
  std::u16string group_;
};

using Option = OptionTemplate<Control>;
using OptionBox = OptionTemplate<Box>;

}  // namespace ui
