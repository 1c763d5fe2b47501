#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "ui/render/image_info.h"

namespace ui {

// Decodes PNG, JPEG, GIF (every frame of an animation, with its delay), BMP
// and the other formats the system's picture loaders know. Nothing when the
// bytes or the file hold no readable picture.
std::unique_ptr<ImageInfo> DecodeImage(const uint8_t* data, size_t size);
std::unique_ptr<ImageInfo> DecodeImageFile(const std::filesystem::path& path);

}  // namespace ui
