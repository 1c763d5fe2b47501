#pragma once

#include <array>
#include <cstdint>
#include <string>

// Random GUIDs, as the desktop system's COM makes them (version 4).
namespace platform {

struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  std::array<uint8_t, 8> data4{};
};

// A fresh random GUID from /dev/urandom; false (and `guid` untouched) when no
// random bytes can be read.
bool CreateGuid(Guid* guid);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": 38 characters, upper-case digits.
std::string GuidText(const Guid& guid);

}  // namespace platform
