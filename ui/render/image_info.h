#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct _cairo_surface;  // the back end's surface; only ui/render looks inside

namespace ui {

// One decoded frame: premultiplied BGRA pixels (alpha in the high byte of each
// native 32-bit word), rows from the top.
class ImageFrame {
 public:
  // Nothing when the size is not positive or memory runs out. Starts transparent.
  static std::unique_ptr<ImageFrame> Create(int width, int height);
  ~ImageFrame();
  ImageFrame(const ImageFrame&) = delete;
  ImageFrame& operator=(const ImageFrame&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const;  // bytes per row
  uint8_t* data();     // call MarkDirty() after writing through it
  const uint8_t* data() const;
  void MarkDirty();

  _cairo_surface* surface() const { return surface_; }

 private:
  ImageFrame(_cairo_surface* surface, int width, int height);

  _cairo_surface* surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A decoded picture: its size, one frame or the frames of an animation with
// the time each is shown, whether it carries per-pixel alpha, and whether it
// is held by the shared image cache.
struct ImageInfo {
  ImageInfo();
  ~ImageInfo();
  ImageInfo(const ImageInfo&) = delete;
  ImageInfo& operator=(const ImageInfo&) = delete;

  int width = 0;
  int height = 0;
  bool has_alpha = false;
  bool cached = false;
  std::vector<std::unique_ptr<ImageFrame>> frames;
  std::vector<int> delays_ms;  // one per frame; empty delays are 0

  int FrameCount() const { return static_cast<int>(frames.size()); }
  bool IsAnimated() const { return frames.size() > 1; }
  // Nothing for an index outside the frames.
  const ImageFrame* Frame(int index) const;
  int FrameDelayMs(int index) const;
};

}  // namespace ui
