#include "platform/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/command_line.h"

extern char** environ;

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsRunnableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Splits the program off the front of a command line, as the desktop system
// does when no application name is given.
void SplitProgram(std::string_view command_line, std::string* program, std::string_view* rest) {
  while (!command_line.empty() && IsBlank(command_line.front())) command_line.remove_prefix(1);
  if (!command_line.empty() && command_line[0] == '"') {
    size_t close = command_line.find('"', 1);
    size_t end = close == std::string_view::npos ? command_line.size() : close;
    *program = std::string(command_line.substr(1, end - 1));
    *rest = command_line.substr(std::min(command_line.size(), end + 1));
    return;
  }
  // Unquoted: try ever longer runs of words, the first that names a file wins.
  size_t first_end = std::string_view::npos;
  for (size_t at = 0; at <= command_line.size(); ++at) {
    if (at < command_line.size() && !IsBlank(command_line[at])) continue;
    if (first_end == std::string_view::npos) first_end = at;
    std::string candidate(command_line.substr(0, at));
    if (!FindProgram(candidate).empty()) {
      *program = candidate;
      *rest = command_line.substr(at);
      return;
    }
    while (at + 1 < command_line.size() && IsBlank(command_line[at + 1])) ++at;
  }
  if (first_end == std::string_view::npos) first_end = command_line.size();
  *program = std::string(command_line.substr(0, first_end));
  *rest = command_line.substr(first_end);
}

int32_t Spawn(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> argv_strings = args;
  std::vector<char*> argv;
  for (std::string& s : argv_strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // The child starts with default signal handling and an empty signal mask.
  sigset_t all;
  sigfillset(&all);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return rc;

  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (waited != pid) return kExitCodeUnavailable;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return kExitCodeSignalBase + WTERMSIG(status);
  return kExitCodeUnavailable;
}

}  // namespace

std::string ExecutablePath() {
  char buffer[4096];
  ssize_t size = readlink("/proc/self/exe", buffer, sizeof(buffer));
  return size > 0 && static_cast<size_t>(size) < sizeof(buffer) ? std::string(buffer, size)
                                                                 : std::string();
}

std::string FindProgram(std::string_view name) {
  if (name.empty()) return {};
  std::string text(name);
  if (text.find('/') != std::string::npos) return IsRunnableFile(text) ? text : std::string();
  const char* path = getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    std::string candidate = (folder.empty() ? "." : folder) + "/" + text;
    if (IsRunnableFile(candidate) && access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return {};
    folders.remove_prefix(colon + 1);
  }
}

bool IsWindowsProgram(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char head[2] = {};
  bool windows = read(fd, head, 2) == 2 && head[0] == 'M' && head[1] == 'Z';
  close(fd);
  return windows;
}

std::string WindowsProgramRunner() {
  const char* runner = getenv("LUMORA_PE_RUNNER");
  return FindProgram(runner != nullptr && runner[0] != '\0' ? runner : "wine");
}

int32_t RunProcessAndWait(std::string_view application, std::string_view command_line) {
  std::string program;
  std::string_view rest;
  std::vector<std::string> args;
  if (!application.empty()) {
    program = std::string(application);
    std::vector<std::string> all = SplitCommandLine(command_line.empty() ? program : command_line);
    args.assign(all.begin() + 1, all.end());
  } else {
    SplitProgram(command_line, &program, &rest);
    if (program.empty()) return EINVAL;
    args = SplitArguments(rest);
  }

  std::string path = FindProgram(program);
  if (path.empty()) {
    struct stat st;
    return stat(program.c_str(), &st) == 0 ? EACCES : ENOENT;
  }
  if (IsWindowsProgram(path)) {
    std::string runner = WindowsProgramRunner();
    if (runner.empty()) return ENOEXEC;
    args.insert(args.begin(), {runner, path});
    return Spawn(runner, args);
  }
  if (access(path.c_str(), X_OK) != 0) return EACCES;
  args.insert(args.begin(), path);
  return Spawn(path, args);
}

std::vector<int> FindProcessesByName(std::string_view name) {
  std::vector<int> pids;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return pids;
  while (dirent* entry = readdir(proc)) {
    char* end = nullptr;
    long pid = strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0' || pid <= 0) continue;
    std::ifstream in(std::string("/proc/") + entry->d_name + "/cmdline", std::ios::binary);
    std::string first;
    if (!std::getline(in, first, '\0') || first.empty()) continue;  // kernel thread or gone
    size_t slash = first.find_last_of("/\\");
    std::string_view base = slash == std::string::npos ? std::string_view(first)
                                                       : std::string_view(first).substr(slash + 1);
    if (base == name) pids.push_back(static_cast<int>(pid));
  }
  closedir(proc);
  return pids;
}

bool TerminateProcessById(int pid) { return pid > 0 && kill(pid, SIGKILL) == 0; }

}  // namespace platform
