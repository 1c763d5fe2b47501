#include "installer/shell/registry_strings.h"

#include "platform/utf.h"
#include "platform/registry_key.h"

namespace {

// The read buffer holds 520 bytes: 259 UTF-16 units and the terminating zero.
constexpr size_t kReadBufferUnits = 260;

}  // namespace

std::u16string ReadRegString(const std::u16string& key_path, const std::u16string& name) {
  platform::RegistryKey key = platform::RegistryKey::Open(platform::RegistryHive::kCurrentUser,
                                                          platform::Utf16ToUtf8(key_path));
  std::string value;
  if (!key.IsValid() || key.ReadString(platform::Utf16ToUtf8(name), &value) != platform::RegStatus::kOk) {
    return {};
  }
  std::u16string text = platform::Utf8ToUtf16(value);
  if (text.size() >= kReadBufferUnits) return {};
  // The value is read as a zero-terminated text.
  return text.substr(0, text.find(u'\0'));
}

int WriteRegString(const std::u16string& key_path, const std::u16string& name,
                   const std::u16string& text) {
  platform::RegistryKey key = platform::RegistryKey::Create(platform::RegistryHive::kCurrentUser,
                                                            platform::Utf16ToUtf8(key_path));
  if (!key.IsValid()) return 1;
  return key.WriteString(platform::Utf16ToUtf8(name), platform::Utf16ToUtf8(text)) ==
                 platform::RegStatus::kOk
             ? 0
             : 1;
}
