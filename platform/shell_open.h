#pragma once

#include <string_view>

// Handing an address or a file to the desktop, as the shell's "open" does.
namespace platform {

// Opens `target` (an address or a path) with the desktop's handler and returns
// at once; the handler runs detached and is never waited for. A file that is a
// Windows program (starts with "MZ") runs through the runner of process.h; a
// runnable program file is started itself; anything else goes to `xdg-open`,
// then to `x-www-browser` when xdg-open is not installed. $LUMORA_OPEN_COMMAND,
// when set, names the only handler used (tests point it at a script).
// True when a handler was started; false when none is installed or it could
// not be started.
bool ShellOpen(std::string_view target);

}  // namespace platform
