#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The local stand-in servers (tools/test-server/lumora_test_server.py) in a
// child process for the life of the object, with their own temporary folder.
class TestServer {
 public:
  // `args` go to the server's command line (for example "--fault", "writelog=500").
  explicit TestServer(const std::vector<std::string>& args = {});
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // False when the server did not come up within ten seconds.
  bool running() const { return pid_ > 0; }
  const std::filesystem::path& folder() const { return folder_; }
  // The address the server printed for a variable ("LUMORA_STATS_SERVER").
  std::string Address(const std::string& variable) const;

  // Requests recorded so far; request n (from 1) as raw bytes.
  int RequestCount() const;
  std::string RawHead(int n) const;
  std::string RawBody(int n) const;
  // The header lines of request n, without the request line.
  std::vector<std::string> HeaderLines(int n) const;
  // The JSON lines of the request log.
  std::vector<std::string> LogLines() const;

  // Waits up to five seconds until at least `count` requests are recorded.
  bool WaitForRequests(int count) const;

 private:
  std::filesystem::path folder_;
  long pid_ = -1;
  std::vector<std::string> env_lines_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFileText(const std::filesystem::path& path);
