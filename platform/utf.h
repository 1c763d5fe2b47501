#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 <-> UTF-16 for the wide text of the UI and the application. Invalid
// input never fails: each byte of a malformed UTF-8 sequence, and each
// unpaired surrogate, becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Appends to `out` (lets a caller reserve room for a terminator or reuse a buffer).
void AppendUtf8ToUtf16(std::string_view utf8, std::u16string& out);
std::string Utf16ToUtf8(std::u16string_view utf16);
// Converts into `out`, which must have room for utf8.size() units (UTF-8
// never needs more); returns the number of units written.
size_t ConvertUtf8ToUtf16(std::string_view utf8, char16_t* out);

}  // namespace platform
