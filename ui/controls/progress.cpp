#include "ui/controls/progress.h"

#include <algorithm>
#include <cstdio>

namespace ui {

Progress::Progress() {
  text_style_ = kTextSingleLine | kTextCenter;
  SetFixedHeight(GlobalResources::Instance().ScaleValue(12), false);
}

void Progress::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"hor") {
    SetHorizontal(ParseBool(value));
  } else if (name == u"min") {
    SetMinValue(ParseInt(value));
  } else if (name == u"max") {
    SetMaxValue(ParseInt(value));
  } else if (name == u"value") {
    SetValue(ParseInt(value));
  } else if (name == u"progressimage") {
    SetProgressImage(value);
  } else if (name == u"isstretchfore") {
    SetStretchForeImage(ParseBool(value));
  } else if (name == u"progresscolor") {
    SetProgressColor(SkipBlanks(value));
  } else {
    LabelTemplate<Control>::SetAttribute(name, value);
  }
}

void Progress::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  Repaint();
}

void Progress::SetStretchForeImage(bool stretch) {
  if (stretch_fore_ == stretch) return;
  stretch_fore_ = stretch;
  Repaint();
}

void Progress::SetMinValue(int value) {
  min_ = value;
  Repaint();
}

void Progress::SetMaxValue(int value) {
  max_ = value;
  Repaint();
}

void Progress::SetValue(double value) {
  value_ = value;
  Repaint();
}

void Progress::SetProgressImage(std::u16string_view image_text) {
  progress_image_.SetImageString(image_text);
  Repaint();
}

void Progress::SetProgressColor(std::u16string_view color_name) {
  if (progress_color_ == color_name) return;
  progress_color_.assign(color_name);
  Repaint();
}

void Progress::Normalize() {
  if (max_ <= min_) max_ = min_ + 1;
  value_ = std::clamp(value_, static_cast<double>(min_), static_cast<double>(max_));
}

UiRect Progress::GetProgressRect() {
  Normalize();
  const double range = static_cast<double>(max_) - min_;
  const int w = rect_.Width();
  const int h = rect_.Height();
  if (horizontal_) return {0, 0, static_cast<int>(w * (value_ - min_) / range), h};
  return {0, static_cast<int>(h * (max_ - value_) / range), w, h};
}

void Progress::PaintStateImages(IRenderContext* render) {
  // Pass 1: the filled part (the ordinary state pictures are not drawn).
  const UiRect part = GetProgressRect();

  // Pass 2: the progress colour over the filled part.
  if (!progress_color_.empty()) {
    UiRect fill = rect_;
    if (horizontal_) {
      fill.right = rect_.left + part.right;
    } else {
      fill.top = rect_.top + part.top;
    }
    FillColor(render, progress_color_, 255, &fill);
  }

  // Pass 3: the picture, stretched into the part or cut to it.
  if (!progress_image_.HasFile()) return;
  char buffer[128];
  if (stretch_fore_) {
    std::snprintf(buffer, sizeof buffer, "destscale='false' dest='%d,%d,%d,%d'", part.left, part.top, part.right,
                  part.bottom);
  } else {
    std::snprintf(buffer, sizeof buffer, "destscale='false' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", part.left,
                  part.top, part.right, part.bottom, part.left, part.top, part.right, part.bottom);
  }
  progress_image_modifier_ = Utf8ToUtf16(buffer);
  DrawImage(render, progress_image_, progress_image_modifier_);
}

}  // namespace ui
