#include "installer/shell/shell_utils.h"

#include <cstdint>

#include "platform/clock.h"

std::string NowMillisText() {
  return std::to_string(static_cast<uint64_t>(platform::SystemTime100ns()) / 10000);
}
