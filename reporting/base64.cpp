#include "reporting/base64.h"

#include <cstdint>

std::string Base64Encode(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                     static_cast<uint8_t>(bytes[i + 2]);
    out += kAlphabet[group >> 18];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += kAlphabet[group & 63];
  }
  size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    out += kAlphabet[group >> 18];
    out += kAlphabet[(group >> 12) & 63];
    out += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}
