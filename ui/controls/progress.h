#pragma once

#include <string>

#include "ui/controls/label.h"

namespace ui {

// A progress bar: the part of the control that the value covers is filled
// with the progress colour and the progress picture, horizontally from the
// left or vertically from the bottom.
class Progress : public LabelTemplate<Control> {
 public:
  Progress();

  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void PaintStateImages(IRenderContext* render) override;

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  bool IsStretchForeImage() const { return stretch_fore_; }
  void SetStretchForeImage(bool stretch);
  int GetMinValue() const { return min_; }
  void SetMinValue(int value);
  int GetMaxValue() const { return max_; }
  void SetMaxValue(int value);
  double GetValue() const { return value_; }
  void SetValue(double value);
  void SetProgressImage(std::u16string_view image_text);
  void SetProgressColor(std::u16string_view color_name);
  const std::u16string& GetProgressColor() const { return progress_color_; }

  // The filled part, relative to the control's top-left corner. Repairs a
  // maximum not above the minimum and clamps the value first.
  virtual UiRect GetProgressRect();

  // The modifier last applied to the progress picture.
  const std::u16string& GetProgressImageModifier() const { return progress_image_modifier_; }

 private:
  void Normalize();

  bool horizontal_ = true;
  bool stretch_fore_ = true;
  int max_ = 100;
  int min_ = 0;
  double value_ = 0;
  ControlImage progress_image_;
  std::u16string progress_color_;
  std::u16string progress_image_modifier_;
};

}  // namespace ui
