#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Data linked into the executable by lumora_embed_resources() and its siblings
// (cmake/LumoraResources.cmake): a table from (type, id) to bytes. The bytes live
// as long as the process. An executable that carries no resources finds nothing.
namespace platform {

// Resource types and ids the program uses.
inline constexpr std::string_view kThemeResourceType = "THEME";
inline constexpr uint32_t kThemeResourceId = 136;
inline constexpr std::string_view kChannelResourceType = "CHANNEL";
inline constexpr uint32_t kChannelResourceId = 138;
// The channel slot holds at most this many bytes (tools/set-channel rewrites it).
inline constexpr size_t kChannelSlotSize = 260;

// The bytes of resource (type, id); type names compare without regard to ASCII
// letter case. Nothing when the executable carries no such resource.
std::optional<std::span<const uint8_t>> FindEmbeddedResource(std::string_view type,
                                                             uint32_t id);

// The executable's file version (the four numbers of "1.6.1.6"); nothing when the
// executable carries no version.
struct FileVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t build = 0;
  uint16_t revision = 0;
};
std::optional<FileVersion> EmbeddedFileVersion();

}  // namespace platform
