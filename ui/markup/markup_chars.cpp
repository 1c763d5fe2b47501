#include "ui/markup/markup_chars.h"

namespace ui {

bool IsWideLetterOrDigit(char16_t c) {
  if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;  // Latin-1 signs, except the letter-like ones
  if (c == 0xD7 || c == 0xF7) return false;                     // multiplication and division signs
  if (c >= 0x2000 && c <= 0x2BFF) return false;                 // punctuation, symbols, arrows, shapes
  if (c >= 0x3000 && c <= 0x3004) return false;                 // CJK space and punctuation ...
  if (c >= 0x3008 && c <= 0x3020) return false;                 // ... brackets and marks
  if (c >= 0xD800 && c <= 0xF8FF) return false;                 // surrogates, private use
  if (c >= 0xFE30 && c <= 0xFE4F) return false;                 // CJK compatibility forms
  if (c >= 0xFF00 && c <= 0xFF0F) return false;                 // full-width punctuation ...
  if (c >= 0xFF1A && c <= 0xFF20) return false;
  if (c >= 0xFF3B && c <= 0xFF40) return false;
  if (c >= 0xFF5B && c <= 0xFF65) return false;
  if (c >= 0xFFF0) return false;                                // specials
  return true;
}

}  // namespace ui
