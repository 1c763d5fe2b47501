#include "ui/render/png_writer.h"

#include <cairo.h>

#include "ui/render/render_context.h"

namespace ui {

bool WritePng(IRenderContext& render, const std::string& path) {
  const UiSize size = render.GetSize();
  if (size.cx <= 0 || size.cy <= 0 || render.GetBits() == nullptr) return false;
  // The context's memory is already Cairo's ARGB32 layout; wrap it without copying.
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      render.GetBits(), CAIRO_FORMAT_ARGB32, size.cx, size.cy, render.GetStride());
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                  cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace ui
