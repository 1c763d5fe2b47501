#include "ui/render/image_decoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace ui {
namespace {

// An animation that never comes back to its first frame is cut here.
constexpr int kMaxFrames = 1000;

// The number of images in GIF data, by walking its blocks; 0 when the data is
// not a GIF or ends early. The frame iterator of the picture loaders loops
// without telling where an animation starts over, so the count bounds the walk.
int CountGifFrames(const uint8_t* data, size_t size) {
  if (size < 13 || std::memcmp(data, "GIF8", 4) != 0) return 0;
  size_t pos = 13;
  if (data[10] & 0x80) pos += 3u << ((data[10] & 0x07) + 1);  // global colour table
  auto skip_sub_blocks = [&]() {
    while (pos < size && data[pos] != 0) pos += data[pos] + 1u;
    ++pos;  // the terminator
  };
  int frames = 0;
  while (pos < size) {
    switch (data[pos]) {
      case 0x21:  // extension: label, then sub-blocks
        pos += 2;
        skip_sub_blocks();
        break;
      case 0x2C: {  // image: descriptor, local colour table, code size, data
        if (pos + 10 > size) return frames;
        const uint8_t flags = data[pos + 9];
        pos += 10;
        if (flags & 0x80) pos += 3u << ((flags & 0x07) + 1);
        pos += 1;
        skip_sub_blocks();
        if (pos > size) return frames;
        ++frames;
        break;
      }
      default:  // trailer, or garbage after the last image
        return frames;
    }
  }
  return frames;
}

// Copies a pixbuf (straight RGB or RGBA bytes) into a frame of premultiplied
// native-endian ARGB words.
std::unique_ptr<ImageFrame> FrameFromPixbuf(GdkPixbuf* pixbuf) {
  if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
    return nullptr;
  const int width = gdk_pixbuf_get_width(pixbuf);
  const int height = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool has_alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  if (channels != (has_alpha ? 4 : 3)) return nullptr;
  auto frame = ImageFrame::Create(width, height);
  if (!frame) return nullptr;
  const int src_stride = gdk_pixbuf_get_rowstride(pixbuf);
  const guchar* src_pixels = gdk_pixbuf_read_pixels(pixbuf);
  uint8_t* dst_pixels = frame->data();
  const int dst_stride = frame->stride();
  for (int y = 0; y < height; ++y) {
    const guchar* src = src_pixels + static_cast<ptrdiff_t>(y) * src_stride;
    auto* dst = reinterpret_cast<uint32_t*>(dst_pixels + static_cast<ptrdiff_t>(y) * dst_stride);
    for (int x = 0; x < width; ++x, src += channels) {
      const uint32_t a = has_alpha ? src[3] : 255;
      // Premultiply with rounding: c * a / 255.
      auto mul = [a](uint32_t c) {
        const uint32_t t = c * a + 128;
        return (t + (t >> 8)) >> 8;
      };
      dst[x] = (a << 24) | (mul(src[0]) << 16) | (mul(src[1]) << 8) | mul(src[2]);
    }
  }
  frame->MarkDirty();
  return frame;
}

std::unique_ptr<ImageInfo> InfoFromAnimation(GdkPixbufAnimation* animation, int frame_count) {
  auto info = std::make_unique<ImageInfo>();
  info->width = gdk_pixbuf_animation_get_width(animation);
  info->height = gdk_pixbuf_animation_get_height(animation);

  if (gdk_pixbuf_animation_is_static_image(animation)) {
    GdkPixbuf* pixbuf = gdk_pixbuf_animation_get_static_image(animation);
    if (!pixbuf) return nullptr;
    auto frame = FrameFromPixbuf(pixbuf);
    if (!frame) return nullptr;
    info->has_alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    info->frames.push_back(std::move(frame));
    info->delays_ms.push_back(0);
    return info;
  }

  // Walk the animation on a clock of our own, stepping to the exact start of
  // each next frame (the delay the iterator reports is what is left of the
  // current frame, so it is whole only there). The walk ends after the known
  // number of frames, when the animation stops, or when the first frame
  // comes back.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  GTimeVal clock = {0, 0};
  GdkPixbufAnimationIter* iter = gdk_pixbuf_animation_get_iter(animation, &clock);
  GdkPixbuf* first = nullptr;
  int64_t elapsed_ms = 0;
  const int max_frames = frame_count > 0 ? std::min(frame_count, kMaxFrames) : kMaxFrames;
  for (int i = 0; i < max_frames; ++i) {
    GdkPixbuf* pixbuf = gdk_pixbuf_animation_iter_get_pixbuf(iter);
    // Without a frame count, a loader that keeps one picture per frame shows
    // the loop by handing back the first one.
    if (!pixbuf || (frame_count == 0 && i > 0 && pixbuf == first)) break;
    if (i == 0) first = pixbuf;
    auto frame = FrameFromPixbuf(pixbuf);
    if (!frame) break;
    info->has_alpha = info->has_alpha || gdk_pixbuf_get_has_alpha(pixbuf);
    const int delay = gdk_pixbuf_animation_iter_get_delay_time(iter);
    info->frames.push_back(std::move(frame));
    info->delays_ms.push_back(delay > 0 ? delay : 0);
    if (delay < 0) break;  // the last frame of an animation that does not loop
    elapsed_ms += delay;
    const int64_t us = elapsed_ms * 1000;
    clock.tv_sec = static_cast<glong>(us / 1000000);
    clock.tv_usec = static_cast<glong>(us % 1000000);
    gdk_pixbuf_animation_iter_advance(iter, &clock);
  }
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_object_unref(iter);
  if (info->frames.empty()) return nullptr;
  return info;
}

}  // namespace

std::unique_ptr<ImageInfo> DecodeImage(const uint8_t* data, size_t size) {
  if (!data || size == 0) return nullptr;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  bool ok = gdk_pixbuf_loader_write(loader, data, size, nullptr);
  // Closing finishes the decode; it must run even after a failed write.
  ok = gdk_pixbuf_loader_close(loader, nullptr) && ok;
  std::unique_ptr<ImageInfo> info;
  if (ok) {
    if (GdkPixbufAnimation* animation = gdk_pixbuf_loader_get_animation(loader))
      info = InfoFromAnimation(animation, CountGifFrames(data, size));
  }
  g_object_unref(loader);
  return info;
}

std::unique_ptr<ImageInfo> DecodeImageFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return nullptr;
  return DecodeImage(bytes.data(), bytes.size());
}

}  // namespace ui
