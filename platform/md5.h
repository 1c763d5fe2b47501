#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// MD5 (RFC 1321) through OpenSSL's libcrypto.
namespace platform {

std::array<uint8_t, 16> Md5Digest(std::string_view bytes);

// The digest as 32 upper-case hexadecimal digits.
std::string Md5HexUpper(std::string_view bytes);

}  // namespace platform
