#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/render/image_decoder.h"

namespace ui {
namespace {

uint32_t FramePixel(const ImageFrame& frame, int x, int y) {
  return reinterpret_cast<const uint32_t*>(frame.data() + y * frame.stride())[x];
}

// A 3 x 2 PNG: opaque red, half-transparent green, transparent, then blue row.
std::vector<uint8_t> MakePng() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3, 2);
  auto* pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
  const int stride = cairo_image_surface_get_stride(surface) / 4;
  pixels[0] = 0xFFFF0000;
  pixels[1] = 0x80008000;  // premultiplied: green 0x80 at alpha 0x80
  pixels[2] = 0;
  for (int x = 0; x < 3; ++x) pixels[stride + x] = 0xFF0000FF;
  cairo_surface_mark_dirty(surface);
  std::vector<uint8_t> bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

TEST(ImageDecoderTest, PngFromBytes) {
  const std::vector<uint8_t> png = MakePng();
  auto info = DecodeImage(png.data(), png.size());
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->width, 3);
  EXPECT_EQ(info->height, 2);
  EXPECT_TRUE(info->has_alpha);
  EXPECT_FALSE(info->cached);
  ASSERT_EQ(info->FrameCount(), 1);
  EXPECT_FALSE(info->IsAnimated());
  const ImageFrame& frame = *info->Frame(0);
  EXPECT_EQ(FramePixel(frame, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(FramePixel(frame, 1, 0), 0x80008000u);  // premultiplied again
  EXPECT_EQ(FramePixel(frame, 2, 0), 0u);
  EXPECT_EQ(FramePixel(frame, 2, 1), 0xFF0000FFu);
  EXPECT_EQ(info->Frame(1), nullptr);
  EXPECT_EQ(info->Frame(-1), nullptr);
}

TEST(ImageDecoderTest, AnimatedGifFramesAndDelays) {
  struct Case {
    const char* file;
    int size;
    std::vector<uint32_t> colours;
    std::vector<int> delays_ms;
  } cases[] = {
      // Loops forever: the walk stops when the first frame comes back.
      {"tests/data/anim3.gif", 4, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, {100, 200, 300}},
      // Plays once.
      {"tests/data/once2.gif", 2, {0xFFFF0000, 0xFF0000FF}, {100, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    auto info = DecodeImageFile(c.file);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->width, c.size);
    EXPECT_EQ(info->height, c.size);
    ASSERT_EQ(info->FrameCount(), static_cast<int>(c.colours.size()));
    EXPECT_TRUE(info->IsAnimated());
    for (int i = 0; i < info->FrameCount(); ++i) {
      EXPECT_EQ(FramePixel(*info->Frame(i), c.size - 1, c.size - 1), c.colours[i]) << i;
      EXPECT_EQ(info->FrameDelayMs(i), c.delays_ms[i]) << i;
    }
  }
}

TEST(ImageDecoderTest, UnreadableInputGivesNothing) {
  const std::string junk = "this is not a picture";
  EXPECT_EQ(DecodeImage(reinterpret_cast<const uint8_t*>(junk.data()), junk.size()), nullptr);
  EXPECT_EQ(DecodeImage(nullptr, 0), nullptr);
  std::vector<uint8_t> png = MakePng();
  png.resize(png.size() / 2);  // truncated
  EXPECT_EQ(DecodeImage(png.data(), png.size()), nullptr);
  EXPECT_EQ(DecodeImageFile("tests/data/no-such-file.png"), nullptr);
  const auto empty = std::filesystem::temp_directory_path() / "lumora-render-empty.png";
  std::ofstream(empty).close();
  EXPECT_EQ(DecodeImageFile(empty), nullptr);
  std::filesystem::remove(empty);
}

}  // namespace
}  // namespace ui
