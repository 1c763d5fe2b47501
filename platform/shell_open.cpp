#include "platform/shell_open.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/process.h"

extern char** environ;

namespace platform {

namespace {

// Starts argv[0] (a full path) in a new session through a short-lived middle
// process, so the program is nobody's child here and leaves no zombie.
bool StartDetached(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t middle = fork();
  if (middle < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (middle == 0) {
    // Only async-signal-safe calls from here: the parent may run other threads.
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    pid_t child = fork();
    if (child == 0) {
      for (int fd = 3; fd < 1024; ++fd) {
        if (fd != report[1]) close(fd);
      }
      execve(argv[0], argv.data(), environ);
      int error = errno;
      ssize_t ignored = write(report[1], &error, sizeof(error));
      (void)ignored;
      _exit(127);
    }
    _exit(child < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes on a successful exec; a failed exec writes its errno first.
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof(error));
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

bool IsRunnableProgramFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool ShellOpen(std::string_view target_view) {
  std::string target(target_view);
  if (target.empty()) return false;
  if (const char* command = getenv("LUMORA_OPEN_COMMAND"); command != nullptr && command[0]) {
    std::string handler = FindProgram(command);
    return !handler.empty() && StartDetached({handler, target});
  }
  struct stat st;
  if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    if (IsWindowsProgram(target)) {
      std::string runner = WindowsProgramRunner();
      return !runner.empty() && StartDetached({runner, target});
    }
    if (IsRunnableProgramFile(target)) return StartDetached({target});
  }
  for (const char* opener : {"xdg-open", "x-www-browser"}) {
    std::string handler = FindProgram(opener);
    if (!handler.empty()) return StartDetached({handler, target});
  }
  return false;
}

}  // namespace platform
