#pragma once

#include "ui/controls/button.h"

namespace ui {

// A button with a selected state that toggles on each activation. While
// selected, its state colours and pictures are replaced by the selected sets.
template <typename Base>
class CheckBoxTemplate : public ButtonTemplate<Base> {
 public:
  bool IsSelected() const { return selected_; }

  virtual void SetSelected(bool selected, bool raise_event = true) {
    if (selected_ == selected) return;
    selected_ = selected;
    if (this->window_ && raise_event) {
      std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
      this->window_->SendNotify(this, selected ? EventType::kSelect : EventType::kUnSelect);
      if (alive.expired()) return;
    }
    this->Repaint();
  }

  void Activate() override {
    if (!this->IsActivatable()) return;
    SetSelected(!selected_, true);
  }

  const std::u16string& GetSelectedTextColor() const { return selected_text_color_; }
  const std::u16string& GetSelectedStateColor(ControlState s) const { return selected_colors_[Control::Index(s)]; }
  const ControlImage& GetSelectedStateImage(ControlState s) const { return selected_images_[Control::Index(s)]; }

  void SetAttribute(std::u16string_view name, std::u16string_view value) override {
    static constexpr std::u16string_view kStates[] = {u"normal", u"hot", u"pushed", u"disabled"};
    for (int s = 0; s < kControlStateCount; ++s) {
      const std::u16string state(kStates[s]);
      if (name == u"selected" + state + u"image") {
        selected_images_[s].SetImageString(value);
        return this->Repaint();
      }
      if (name == u"selectedfore" + state + u"image") {
        selected_fore_images_[s].SetImageString(value);
        return this->Repaint();
      }
      if (name == u"selected" + state + u"color") {
        selected_colors_[s].assign(value);
        return this->Repaint();
      }
    }
    if (name == u"selected") {
      SetSelected(ParseBool(value), true);
    } else if (name == u"selectedtextcolor") {
      selected_text_color_.assign(value);
      this->Repaint();
    } else {
      ButtonTemplate<Base>::SetAttribute(name, value);
    }
  }

  void PaintStateColors(IRenderContext* render) override {
    selected_ ? this->PaintStateColorsOf(render, selected_colors_) : ButtonTemplate<Base>::PaintStateColors(render);
  }

  void PaintStateImages(IRenderContext* render) override {
    if (!selected_) return ButtonTemplate<Base>::PaintStateImages(render);
    this->PaintStateImagesOf(render, selected_images_);
    this->PaintStateImagesOf(render, selected_fore_images_);
  }

  void PaintText(IRenderContext* render) override {
    if (!selected_) return ButtonTemplate<Base>::PaintText(render);
    const std::u16string text = this->GetText();
    if (text.empty()) return;
    this->SyncSingleLine();
    std::u16string color = selected_text_color_.empty() ? this->GetStateTextColor(ControlState::Normal)
                                                        : selected_text_color_;
    if (this->state_ == ControlState::Disabled) color = this->GetStateTextColor(ControlState::Disabled);
    this->DrawTextIn(render, this->TextRect(), text, color, 255, false);
  }

  bool HasHotState() override {
    if (!selected_colors_[Control::Index(ControlState::Hot)].empty()) return true;
    return ButtonTemplate<Base>::HasHotState();
  }

  ControlImage* SizingImage() override {
    if (ControlImage* image = ButtonTemplate<Base>::SizingImage()) return image;
    return this->FirstStateImageWithFile(selected_images_);
  }

 protected:
  bool selected_ = false;
  std::u16string selected_text_color_;
  StateColors selected_colors_;
  StateImages selected_images_;
  StateImages selected_fore_images_;
};

using CheckBox = CheckBoxTemplate<Control>;
using CheckBoxBox = CheckBoxTemplate<Box>;

}  // namespace ui
