#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

std::string SingleInstanceLockPath(std::string_view name) {
  std::string safe(name);
  for (char& c : safe) {
    if (c == '/') c = '_';
  }
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  struct stat st;
  if (runtime != nullptr && runtime[0] == '/' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
    return std::string(runtime) + "/" + safe + ".lock";
  }
  return "/tmp/" + safe + "-" + std::to_string(getuid()) + ".lock";
}

SingleInstanceResult AcquireSingleInstanceLock(std::string_view name) {
  std::string path = SingleInstanceLockPath(name);
  // O_NOFOLLOW: in /tmp another user could plant a link in our name.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return SingleInstanceResult::kFailed;
  int rc;
  do {
    rc = flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    bool busy = errno == EWOULDBLOCK;
    close(fd);
    return busy ? SingleInstanceResult::kAlreadyRunning : SingleInstanceResult::kFailed;
  }
  // The descriptor stays open, and so the lock held, for the life of the process.
  return SingleInstanceResult::kAcquired;
}

}  // namespace platform
