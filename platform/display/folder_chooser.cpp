#include "platform/display/folder_chooser.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/display/native_window.h"

extern char** environ;

namespace platform {
namespace {

constexpr char kPollClass[] = "LumoraFolderChooserPoll";
constexpr uintptr_t kPollTimer = 1;

LResult PollProcedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  if (message == kTimer) return 0;  // only wakes the loop below
  return DefWindowProc(window, message, wparam, lparam);
}

std::string FindOnPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : std::string();
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    const std::string candidate = dir + "/" + name;
    struct stat st{};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return {};
}

// The argument lists of the two choosers the desktop may have.
std::vector<std::string> ChooserCommand(const std::string& title, const std::string& start_folder) {
  if (const char* forced = std::getenv("LUMORA_FOLDER_CHOOSER")) {
    const std::string program = FindOnPath(forced);
    if (program.empty()) return {};
    return {program, "--file-selection", "--directory", "--title=" + title, "--filename=" + start_folder + "/"};
  }
  if (std::string zenity = FindOnPath("zenity"); !zenity.empty()) {
    return {zenity, "--file-selection", "--directory", "--title=" + title, "--filename=" + start_folder + "/"};
  }
  if (std::string kdialog = FindOnPath("kdialog"); !kdialog.empty()) {
    return {kdialog, "--getexistingdirectory", start_folder, "--title", title};
  }
  return {};
}

FolderChoice Cancelled() { return {false, {}, "cancelled"}; }

}  // namespace

FolderChoice ChooseFolder(WindowHandle owner, const std::string& title, const std::string& start_folder) {
  const std::vector<std::string> command = ChooserCommand(title, start_folder);
  if (command.empty()) return Cancelled();

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return Cancelled();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return Cancelled();
  }
  fcntl(fds[0], F_SETFL, O_NONBLOCK);

  // Modal like the desktop's chooser: the owner takes no input, yet its thread keeps
  // dispatching (painting, tasks) until the chooser ends.
  const bool disable_owner = owner && IsWindowEnabled(owner);
  if (disable_owner) EnableWindow(owner, false);
  RegisterWindowClass(kPollClass, &PollProcedure);
  const WindowHandle poll = CreateMessageWindow(kPollClass, nullptr);
  SetTimer(poll, kPollTimer, 30);

  std::string output;
  int status = 0;
  bool exited = false;
  bool quit = false;
  int quit_code = 0;
  char buffer[4096];
  while (!exited) {
    ssize_t n = 0;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) {
      exited = true;
      break;
    }
    Message m;
    if (!GetMessage(&m, 0, 0, 0)) {
      quit = true;
      quit_code = static_cast<int>(m.wparam);
      kill(pid, SIGTERM);
      waitpid(pid, &status, 0);
      break;
    }
    DispatchMessage(m);
  }
  ssize_t n = 0;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  DestroyWindow(poll);
  if (disable_owner) EnableWindow(owner, true);
  if (quit) {
    PostQuitMessage(quit_code);
    return Cancelled();
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return Cancelled();
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  struct stat st{};
  if (output.empty() || output.front() != '/' || stat(output.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return Cancelled();
  }
  return {true, output, "chosen"};
}

}  // namespace platform
