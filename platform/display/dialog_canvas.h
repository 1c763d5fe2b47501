#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <string>

#include "platform/geometry.h"
#include "platform/messages/window_messages.h"

// Drawing for the layer's own small windows (message box, tooltip): a Cairo image
// surface of the window's size, text in the desktop's sans face at the display
// density, copied onto the window when done. Internal to platform/display.
namespace platform {

class DialogCanvas {
 public:
  explicit DialogCanvas(int dpi);
  ~DialogCanvas();
  DialogCanvas(const DialogCanvas&) = delete;
  DialogCanvas& operator=(const DialogCanvas&) = delete;

  // Pixels at 96 dots per inch scaled to the display's density.
  int Scale(int pixels) const { return (pixels * dpi_ + 48) / 96; }

  // Text in the dialog face at 12 pixels (scaled), wrapped at wrap_width pixels
  // when that is positive. The caller unrefs the layout.
  PangoLayout* Layout(const std::string& utf8_text, int wrap_width);
  static Size TextSize(PangoLayout* layout);

  // A context for painting size pixels; valid until Present.
  cairo_t* Begin(Size size);
  // Copies the painted surface onto the window and ends the painting.
  void Present(WindowHandle window);

 private:
  int dpi_;
  PangoContext* context_ = nullptr;
  PangoFontDescription* font_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

}  // namespace platform
