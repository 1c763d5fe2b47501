#include "platform/guid.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {

bool CreateGuid(Guid* guid) {
  uint8_t bytes[16];
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  size_t got = 0;
  while (got < sizeof(bytes)) {
    ssize_t n = read(fd, bytes + got, sizeof(bytes) - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  if (got != sizeof(bytes)) return false;
  Guid g;
  std::memcpy(&g.data1, bytes, 4);
  std::memcpy(&g.data2, bytes + 4, 2);
  std::memcpy(&g.data3, bytes + 6, 2);
  std::memcpy(g.data4.data(), bytes + 8, 8);
  g.data3 = static_cast<uint16_t>((g.data3 & 0x0FFF) | 0x4000);     // version 4: random
  g.data4[0] = static_cast<uint8_t>((g.data4[0] & 0x3F) | 0x80);    // RFC 4122 variant
  *guid = g;
  return true;
}

std::string GuidText(const Guid& guid) {
  char text[39];
  std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                guid.data1, guid.data2, guid.data3, guid.data4[0], guid.data4[1], guid.data4[2],
                guid.data4[3], guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
  return text;
}

}  // namespace platform
