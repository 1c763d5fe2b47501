#include "installer/shell/shell_utils.h"

#include <cstdint>

#include "platform/clock.h"
#include "platform/utf.h"
#include "platform/shell_open.h"
#include "platform/special_folders.h"

std::u16string GetShellFolderPath(int csidl) {
  platform::SpecialFolder folder;
  switch (csidl) {
    case 0x2A: folder = platform::SpecialFolder::kProgramFiles; break;
    case 0x1A: folder = platform::SpecialFolder::kRoamingAppData; break;
    case 0x00: folder = platform::SpecialFolder::kDesktop; break;
    default: return {};
  }
  return platform::Utf8ToUtf16(platform::SpecialFolderPath(folder));
}

bool OpenUrl(const std::u16string& url) {
  auto trimmed = [](char16_t c) { return c == u' ' || c < 30; };
  size_t begin = 0;
  size_t end = url.size();
  while (begin < end && trimmed(url[begin])) ++begin;
  while (end > begin && trimmed(url[end - 1])) --end;
  // The platform's open already falls back to the plain browser.
  return platform::ShellOpen(platform::Utf16ToUtf8(url.substr(begin, end - begin)));
}

std::string NowMillisText() {
  return std::to_string(static_cast<uint64_t>(platform::SystemTime100ns()) / 10000);
}
