#include "platform/embedded_resources.h"

#include <cstring>

namespace platform::resource_table {

// One entry per resource, laid out by the assembly stubs that
// cmake/LumoraResources.cmake writes (five 64-bit words).
struct Entry {
  const char* type;
  uint64_t id;
  const uint8_t* data;
  uint64_t size;
  const uint32_t* length;  // the channel slot's current length, else null
};
static_assert(sizeof(void*) == 8, "the resource table is laid out for 64-bit targets");
static_assert(sizeof(Entry) == 40);

}  // namespace platform::resource_table

namespace platform {

namespace {

using resource_table::Entry;

bool SameTypeName(const char* a, std::string_view b) {
  size_t i = 0;
  for (; i < b.size(); ++i) {
    char x = a[i];
    if (x == '\0') return false;
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return a[i] == '\0';
}

}  // namespace

}  // namespace platform

// The linker defines these around the section "lumora_resources" when at least
// one entry is linked in; weak, so an executable without resources links too
// and sees null for both.
extern "C" {
extern const platform::resource_table::Entry __start_lumora_resources[]
    __attribute__((weak, visibility("hidden")));
extern const platform::resource_table::Entry __stop_lumora_resources[]
    __attribute__((weak, visibility("hidden")));
}

namespace platform {

std::optional<std::span<const uint8_t>> FindEmbeddedResource(std::string_view type,
                                                             uint32_t id) {
  const Entry* begin = __start_lumora_resources;
  const Entry* end = __stop_lumora_resources;
  if (begin == nullptr || end == nullptr) return std::nullopt;
  for (const Entry* e = begin; e < end; ++e) {
    if (e->id != id || !SameTypeName(e->type, type)) continue;
    uint64_t size = e->size;
    // A rewritten slot could claim more than it holds; never read past it.
    if (e->length != nullptr && *e->length < size) size = *e->length;
    return std::span<const uint8_t>(e->data, static_cast<size_t>(size));
  }
  return std::nullopt;
}

std::optional<FileVersion> EmbeddedFileVersion() {
  auto bytes = FindEmbeddedResource("VERSION", 1);
  if (!bytes || bytes->size() < 8) return std::nullopt;
  uint16_t words[4];
  std::memcpy(words, bytes->data(), sizeof(words));
  return FileVersion{words[0], words[1], words[2], words[3]};
}

}  // namespace platform
