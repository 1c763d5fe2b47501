#include "ui/resources/language_file.h"

#include <cstdio>
#include <vector>

#include "ui/markup/utf.h"

namespace ui {

namespace {

// Blanks and every character with a code up to 29 (tabs, line ends).
inline bool IsTrimmed(char c) {
  auto u = static_cast<unsigned char>(c);
  return u == ' ' || u <= 29;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

void ParseLanguageLine(std::string_view line, StringTable& table) {
  line = Trim(line);
  std::string_view pieces[2];
  size_t count = 0;
  while (!line.empty()) {
    size_t equals = line.find('=');
    std::string_view piece = line.substr(0, equals);
    if (!piece.empty()) {
      if (count == 2) return;  // a third piece: no entry
      pieces[count++] = piece;
    }
    if (equals == std::string_view::npos) break;
    line.remove_prefix(equals + 1);
  }
  if (count != 2) return;
  std::string_view id = Trim(pieces[0]);
  std::string_view text = Trim(pieces[1]);
  if (id.find(';') != std::string_view::npos) return;
  table.insert_or_assign(Utf8ToUtf16(id), Utf8ToUtf16(text));
}

bool LoadLanguageFile(const std::string& path, StringTable& table) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  // Lines are read in pieces of at most 4,095 bytes; a zero byte ends a line's text.
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    ParseLanguageLine(std::string_view(buffer), table);
  }
  std::fclose(file);
  return true;
}

void LoadLanguageBlock(std::string_view block, StringTable& table) {
  std::string line;
  for (size_t start = 0; start <= block.size();) {
    size_t end = block.find('\n', start);
    if (end == std::string_view::npos) end = block.size();
    line.clear();
    for (size_t i = start; i < end; ++i) {
      if (block[i] != '\0') line.push_back(block[i]);
    }
    ParseLanguageLine(line, table);
    start = end + 1;
  }
}

}  // namespace ui
