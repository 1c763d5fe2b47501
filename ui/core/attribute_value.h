#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/geometry.h"

namespace ui {

// Readers for skin attribute values. They never fail: malformed text reads as
// 0 (integers), false (booleans) or the numbers found so far (frames, pairs).

// Lenient decimal integer: leading blanks and one sign allowed, reading stops
// at the first non-digit, no digits gives 0. Values beyond 32 bits saturate.
// `end` (optional) receives the offset where reading stopped.
int ParseInt(std::u16string_view text, size_t* end = nullptr);

// "l,t,r,b": four integers, each two separated by exactly one character of
// any kind. Numbers missing at the end of the text read as 0.
UiRect ParseFrame(std::u16string_view text);

// "x,y": two integers separated by one character.
UiSize ParsePair(std::u16string_view text);

// True exactly for "true".
bool ParseBool(std::u16string_view text);

// Skips leading characters with codes 1 to 32.
std::u16string_view SkipBlanks(std::u16string_view text);

// Walks an attribute list of items name="value" separated by single blanks
// (the syntax of class values and "applyattribute"). The name runs up to "=",
// which must be followed directly by a double quote; the value runs to the
// next double quote. The list ends silently at anything else.
void ForEachAttribute(std::u16string_view list,
                      const std::function<void(std::u16string_view name, std::u16string_view value)>& visit);

// Splits on blanks, dropping empty words ("class" names, event types, receivers).
std::vector<std::u16string_view> SplitWords(std::u16string_view text);

}  // namespace ui
