// Parses arbitrary bytes as a language file: as a memory block and line by line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/resources/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ui::StringTable table;
  ui::LoadLanguageBlock(bytes, table);
  ui::StringTable lines;
  ui::ParseLanguageLine(bytes, lines);
  return 0;
}
