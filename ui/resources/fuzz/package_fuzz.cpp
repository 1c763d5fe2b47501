// Opens arbitrary bytes as a skin package and reads every entry it lists,
// plus a few names through the path rules.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/markup/utf.h"
#include "ui/resources/skin_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  ui::SkinPackage package;
  // The input also serves as a path to normalise.
  volatile size_t sink = ui::SkinPackage::NormalizePath(ui::Utf8ToUtf16(bytes.substr(0, 300))).size();
  if (!package.Open(bytes.data(), bytes.size())) return 0;

  std::vector<std::string> names = package.EntryNames();
  names.insert(names.end(), {"a", "global.xml", "../a/./b//c", "A/B"});
  for (const std::string& name : names) {
    if (auto entry = package.ReadFile(ui::Utf8ToUtf16(name))) sink = sink + entry->size();
  }
  (void)sink;
  return 0;
}
