#pragma once

#include <array>
#include <cstdint>

namespace ui {

// Whitespace of the skin markup: every character with a code from 1 to 32.
inline bool IsMarkupWhitespace(char16_t c) { return static_cast<uint16_t>(c - 1) < 32; }

// Letters and digits beyond ASCII, by Unicode block: everything counts except
// the Latin-1 and general punctuation and symbol blocks, the CJK punctuation,
// the full-width ASCII punctuation, surrogates, private use and specials.
bool IsWideLetterOrDigit(char16_t c);

namespace internal {
constexpr std::array<bool, 128> MakeNameTable() {
  std::array<bool, 128> table{};
  for (int c = '0'; c <= '9'; ++c) table[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = true;
  table['_'] = true;
  table[':'] = true;
  return table;
}
inline constexpr std::array<bool, 128> kNameTable = MakeNameTable();
}  // namespace internal

// A name character: a letter or digit, "_" or ":" (so "-" and "." end a name).
inline bool IsMarkupNameChar(char16_t c) {
  return c < 128 ? internal::kNameTable[c] : IsWideLetterOrDigit(c);
}

}  // namespace ui
