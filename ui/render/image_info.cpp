#include "ui/render/image_info.h"

#include <cairo.h>

namespace ui {

std::unique_ptr<ImageFrame> ImageFrame::Create(int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return std::unique_ptr<ImageFrame>(new ImageFrame(surface, width, height));
}

ImageFrame::ImageFrame(cairo_surface_t* surface, int width, int height)
    : surface_(surface), width_(width), height_(height) {}

ImageFrame::~ImageFrame() { cairo_surface_destroy(surface_); }

int ImageFrame::stride() const { return cairo_image_surface_get_stride(surface_); }

uint8_t* ImageFrame::data() {
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_);
}

const uint8_t* ImageFrame::data() const {
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_);
}

void ImageFrame::MarkDirty() { cairo_surface_mark_dirty(surface_); }

ImageInfo::ImageInfo() = default;
ImageInfo::~ImageInfo() = default;

const ImageFrame* ImageInfo::Frame(int index) const {
  if (index < 0 || index >= FrameCount()) return nullptr;
  return frames[static_cast<size_t>(index)].get();
}

int ImageInfo::FrameDelayMs(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= delays_ms.size()) return 0;
  return delays_ms[static_cast<size_t>(index)];
}

}  // namespace ui
