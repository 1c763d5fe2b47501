#include "platform/display/dialog_canvas.h"

#include "platform/display/native_window.h"

namespace platform {

DialogCanvas::DialogCanvas(int dpi) : dpi_(dpi > 0 ? dpi : 96) {
  // A font map of its own, released with the canvas, so nothing of the dialog's
  // text stays behind once it is gone.
  PangoFontMap* map = pango_cairo_font_map_new();
  context_ = pango_font_map_create_context(map);
  g_object_unref(map);  // the context keeps it
  font_ = pango_font_description_from_string("Noto Sans CJK SC, Noto Sans, DejaVu Sans, Sans");
  pango_font_description_set_absolute_size(font_, Scale(12) * PANGO_SCALE);
}

DialogCanvas::~DialogCanvas() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
  pango_font_description_free(font_);
  g_object_unref(context_);
}

PangoLayout* DialogCanvas::Layout(const std::string& utf8_text, int wrap_width) {
  PangoLayout* layout = pango_layout_new(context_);
  pango_layout_set_font_description(layout, font_);
  pango_layout_set_text(layout, utf8_text.c_str(), static_cast<int>(utf8_text.size()));
  if (wrap_width > 0) {
    pango_layout_set_width(layout, wrap_width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
  return layout;
}

Size DialogCanvas::TextSize(PangoLayout* layout) {
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  return {w, h};
}

cairo_t* DialogCanvas::Begin(Size size) {
  if (!surface_ || cairo_image_surface_get_width(surface_) != size.cx ||
      cairo_image_surface_get_height(surface_) != size.cy) {
    if (surface_) cairo_surface_destroy(surface_);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
  }
  if (cr_) cairo_destroy(cr_);
  cr_ = cairo_create(surface_);
  return cr_;
}

void DialogCanvas::Present(WindowHandle window) {
  if (!surface_) return;
  cairo_surface_flush(surface_);
  const Size size{cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_)};
  PaintWindowPixels(window, cairo_image_surface_get_data(surface_), cairo_image_surface_get_stride(surface_), size,
                    {0, 0, size.cx, size.cy});
  cairo_destroy(cr_);
  cr_ = nullptr;
}

}  // namespace platform
