#include "platform/tests/test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace platform::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumora-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (made != nullptr) path_ = made;
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string HelperPath() { return LUMORA_TEST_HELPER; }

namespace {

// posix_spawn with `env` ("NAME=value") added to this process's environment.
int Spawn(const std::string& program, const std::vector<std::string>& args,
          const std::vector<std::string>& env, const posix_spawn_file_actions_t* actions,
          pid_t* pid) {
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) env_strings.emplace_back(*e);
  for (const std::string& add : env) {
    std::string name = add.substr(0, add.find('=') + 1);
    std::erase_if(env_strings, [&](const std::string& s) { return s.rfind(name, 0) == 0; });
    env_strings.push_back(add);
  }
  std::vector<char*> envp;
  for (std::string& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argv_strings{program};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : argv_strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  return posix_spawn(pid, program.c_str(), actions, nullptr, argv.data(), envp.data());
}

int DecodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

int StartChild(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  int rc = Spawn(program, args, env, &actions, &pid);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int WaitChild(int pid, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int status = 0;
  while (true) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return DecodeStatus(status);
    if (done < 0 && errno != EINTR) return -1;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool WaitForFile(const std::filesystem::path& path, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  std::error_code ignored;
  while (!std::filesystem::exists(path, ignored)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void WriteScript(const std::filesystem::path& path, const std::string& body) {
  {
    std::ofstream out(path);
    out << "#!/bin/sh\n" << body << "\n";
  }
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

RunResult RunHelper(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& env, int timeout_ms) {
  RunResult result;
  int out_pipe[2];
  int err_pipe[2];
  if (pipe2(out_pipe, O_CLOEXEC) != 0) return result;
  if (pipe2(err_pipe, O_CLOEXEC) != 0) {
    close(out_pipe[0]);
    close(out_pipe[1]);
    return result;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  pid_t pid = 0;
  int rc = Spawn(program, args, env, &actions, &pid);
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (rc != 0) {
    close(out_pipe[0]);
    close(err_pipe[0]);
    result.err = std::strerror(rc);
    return result;
  }

  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open_count = 2;
  bool killed = false;
  while (open_count > 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0 && !killed) {
      kill(pid, SIGKILL);
      killed = true;
    }
    int n = poll(fds, 2, left > 0 ? static_cast<int>(left) : 1000);
    if (n < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      ssize_t got = read(fds[i].fd, buffer, sizeof(buffer));
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
  for (pollfd& p : fds) {
    if (p.fd >= 0) close(p.fd);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.code = DecodeStatus(status);
  return result;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = getenv(name)) {
    had_old_ = true;
    old_ = old;
  }
  setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (had_old_) {
    setenv(name_.c_str(), old_.c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

}  // namespace platform::test
