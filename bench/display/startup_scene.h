#pragma once

#include <memory>
#include <string>

#include "platform/messages/window_messages.h"
#include "ui/render/image_info.h"
#include "ui/render/render_context.h"

// The installer-like frame the start-up benchmark paints: a 628 x 428 layered
// window with the drop-shadow nine-grid picture, a white panel, a title, a line
// of text and a button face.
class StartupScene {
 public:
  static constexpr int kWidth = 628;
  static constexpr int kHeight = 428;

  // False when the shadow picture cannot be read.
  bool Load(const std::string& shadow_png);
  // Paints the whole frame and shows it on the layered window.
  void Paint(platform::WindowHandle window);

 private:
  std::unique_ptr<ui::ImageInfo> shadow_;
  std::unique_ptr<ui::IRenderContext> context_;
};
