#pragma once

#include <string>
#include <string_view>

// Standard Base64 (the RFC 4648 alphabet, "=" fill, no line breaks) of a byte
// string: a final single byte gives two characters and "==", a final pair three
// characters and "=".
std::string Base64Encode(std::string_view bytes);
