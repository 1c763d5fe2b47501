#include "installer/shell/app_resources.h"

#include <algorithm>
#include <mutex>

#include "platform/utf.h"
#include "platform/embedded_resources.h"

bool ReadChannelResource(std::u16string& text) {
  auto bytes = platform::FindEmbeddedResource(platform::kChannelResourceType,
                                              platform::kChannelResourceId);
  if (!bytes) return false;
  size_t size = std::min(bytes->size(), platform::kChannelSlotSize);
  text = platform::Utf8ToUtf16(std::string(reinterpret_cast<const char*>(bytes->data()), size));
  return true;
}

std::u16string GetFileVersionText(const std::u16string& path) {
  static std::once_flag once;
  static std::u16string* cached = nullptr;
  std::call_once(once, [&] {
    cached = new std::u16string(u"1.0.0.0");
    if (!path.empty()) return;
    if (auto version = platform::EmbeddedFileVersion()) {
      std::string text = std::to_string(version->major) + "." + std::to_string(version->minor) +
                         "." + std::to_string(version->build) + "." +
                         std::to_string(version->revision);
      *cached = std::u16string(text.begin(), text.end());
    }
  });
  return *cached;
}
