#include "platform/md5.h"

#include <openssl/evp.h>

namespace platform {

std::array<uint8_t, 16> Md5Digest(std::string_view bytes) {
  std::array<uint8_t, 16> digest{};
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_md5(), nullptr);
  return digest;
}

std::string Md5HexUpper(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : Md5Digest(bytes)) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

}  // namespace platform
