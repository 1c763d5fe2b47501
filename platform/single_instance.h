#pragma once

#include <string>
#include <string_view>

// One running copy per user: a named lock held until the process ends.
namespace platform {

enum class SingleInstanceResult {
  kAcquired,        // this process now holds the lock
  kAlreadyRunning,  // another process (or an earlier call of this one) holds it
  kFailed,          // the lock file cannot be made; callers treat it as kAlreadyRunning
};

// Takes the lock `name` (an flock on "<name>.lock" in $XDG_RUNTIME_DIR, or on
// "/tmp/<name>-<uid>.lock" without one). Once acquired it is never released:
// the system drops it when the process ends, however it ends (also by
// SIGKILL). Programs started later do not inherit it.
SingleInstanceResult AcquireSingleInstanceLock(std::string_view name);

// The lock file that AcquireSingleInstanceLock uses for `name`.
std::string SingleInstanceLockPath(std::string_view name);

}  // namespace platform
