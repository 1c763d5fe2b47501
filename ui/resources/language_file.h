#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ui {

// The language string table: id -> text, read from "gdstrings.ini"-style UTF-8
// files. Each line is trimmed of blanks and of characters with codes up to 29
// at both ends and split at "=" with empty pieces dropped; only a line of
// exactly two pieces gives an entry (both trimmed again), unless the id
// contains ";" (a comment). A later line replaces an earlier one, so a value
// never contains "=" and 'KEY = a = b' is ignored.
using StringTable = std::map<std::u16string, std::u16string, std::less<>>;

// One line's entry into `table`, if it makes one.
void ParseLanguageLine(std::string_view line, StringTable& table);
// A file on disk: read in lines of at most 4,095 bytes (a longer line is read
// in 4,095-byte pieces, each taken as a line); a line ends at a zero byte.
// False when the file cannot be opened.
bool LoadLanguageFile(const std::string& path, StringTable& table);
// A memory block (from the package): split at line feeds with no length
// limit; zero bytes are skipped.
void LoadLanguageBlock(std::string_view block, StringTable& table);

}  // namespace ui
