#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Shared pieces of the platform tests: a temporary folder and a way to run a real
// program and collect what it printed.
namespace platform::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct RunResult {
  int code = -1;  // exit code, or 128 + signal
  std::string out;
  std::string err;
};

// Runs `program args...` with `env` ("NAME=value") added to this process's
// environment; the child is killed when it runs longer than `timeout_ms`.
RunResult RunHelper(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& env = {}, int timeout_ms = 30000);

// Starts `program args...` in the background (output discarded); returns its pid,
// or -1. Reap it with WaitChild.
int StartChild(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env = {});
// Waits for a child of StartChild; kills it after `timeout_ms`. Exit code or 128 + signal.
int WaitChild(int pid, int timeout_ms = 30000);

// Polls until the file exists; false after `timeout_ms`.
bool WaitForFile(const std::filesystem::path& path, int timeout_ms = 30000);

// Writes a shell script and makes it executable.
void WriteScript(const std::filesystem::path& path, const std::string& body);

// The whole content of a file; empty when missing.
std::string ReadFile(const std::filesystem::path& path);

// The helper program without resources (platform/tests/test_helper.cpp).
std::string HelperPath();

// Sets an environment variable for the life of the object, restoring it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_old_ = false;
  std::string old_;
};

}  // namespace platform::test
