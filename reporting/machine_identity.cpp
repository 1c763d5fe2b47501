#include "reporting/machine_identity.h"

#include <algorithm>
#include <mutex>

#include "installer/shell/registry_strings.h"
#include "installer/shell/shell_utils.h"
#include "platform/utf.h"
#include "platform/guid.h"
#include "platform/md5.h"
#include "platform/system_info.h"

std::u16string GetUniqueId() {
  // Start-up fills the cache on the UI thread; the lock keeps any other first
  // caller from making a second identifier.
  static std::mutex lock;
  static std::u16string* cache = new std::u16string();
  std::lock_guard<std::mutex> hold(lock);
  if (!cache->empty()) return *cache;
  std::u16string stored = ReadRegString(kAppInfoKey, u"UniqueId");
  if (!stored.empty()) {
    *cache = stored;
    return *cache;
  }
  std::string text;
  platform::Guid guid;
  if (platform::CreateGuid(&guid)) text = platform::GuidText(guid);
  if (text.empty()) text = NowMillisText();
  *cache = Md5Hex(platform::Utf8ToUtf16(text));
  WriteRegString(kAppInfoKey, u"UniqueId", *cache);  // a failure leaves it for this run only
  return *cache;
}

std::u16string Md5Hex(const std::u16string& text) {
  return platform::Utf8ToUtf16(platform::Md5HexUpper(platform::Utf16ToUtf8(text)));
}

std::u16string GetOsName() {
  // The description travels inside the cookie text, where ";" would end the value.
  std::string name = platform::OperatingSystemDescription();
  std::replace(name.begin(), name.end(), ';', ',');
  return platform::Utf8ToUtf16(name);
}

std::u16string BitnessWord() { return platform::Utf8ToUtf16(platform::BitnessWord()); }
