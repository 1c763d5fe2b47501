#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "ui/render/image_decoder.h"
#include "ui/render/png_writer.h"
#include "ui/render/render_factory_cairo.h"

namespace ui {
namespace {

TEST(PngWriterTest, WrittenPictureDecodesToTheSamePixels) {
  RenderFactory_Cairo factory;
  auto context = factory.CreateRenderContext();
  context->Resize(5, 4);
  context->Clear();
  context->FillRect({1, 1, 4, 3}, 0xFF2080C0);
  context->FillRect({0, 0, 1, 1}, 0x80FF0000);  // half-transparent corner survives

  const auto path = std::filesystem::temp_directory_path() / "lumora_png_writer_test.png";
  ASSERT_TRUE(WritePng(*context, path.string()));
  auto image = DecodeImageFile(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 5);
  EXPECT_EQ(image->height, 4);
  const ImageFrame& frame = *image->frames.at(0);
  auto pixel = [&](int x, int y) {
    uint32_t value;
    std::memcpy(&value, frame.data() + y * frame.stride() + x * 4, 4);
    return value;
  };
  EXPECT_EQ(pixel(2, 2), 0xFF2080C0u);
  EXPECT_EQ(pixel(4, 3), 0u);
  EXPECT_EQ(pixel(0, 0) >> 24, 0x80u);
}

TEST(PngWriterTest, EmptyContextOrBadPathFails) {
  RenderFactory_Cairo factory;
  auto context = factory.CreateRenderContext();
  EXPECT_FALSE(WritePng(*context, "/tmp/lumora_never_written.png"));
  context->Resize(2, 2);
  EXPECT_FALSE(WritePng(*context, "/nonexistent-folder/x.png"));
}

}  // namespace
}  // namespace ui
