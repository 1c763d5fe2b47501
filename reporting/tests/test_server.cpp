#include "reporting/tests/test_server.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& separator) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
  return lines;
}

// A finished child stays a zombie until its new parent reaps it; it counts as gone.
bool ProcessAlive(long pid) {
  std::string stat = ReadFileText("/proc/" + std::to_string(pid) + "/stat");
  size_t paren = stat.rfind(')');
  return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] != 'Z';
}

}  // namespace

std::string ReadFileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TestServer::TestServer(const std::vector<std::string>& args) {
  std::random_device random;
  folder_ = fs::temp_directory_path() / ("lumora-server-" + std::to_string(random()));
  fs::create_directories(folder_);
  // Debian's interpreter when present: a version manager's shim takes seconds to start.
  std::string python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  std::string command = python + " " + Quote(LUMORA_TEST_SERVER) + " --env-file " +
                        Quote((folder_ / "env").string()) + " --log " +
                        Quote((folder_ / "log.jsonl").string()) + " --raw-dir " +
                        Quote((folder_ / "raw").string());
  for (const auto& arg : args) command += " " + Quote(arg);
  command += " >/dev/null 2>" + Quote((folder_ / "stderr").string()) + " & echo $! > " +
             Quote((folder_ / "pid").string());
  if (std::system(command.c_str()) != 0) return;
  long pid = std::atol(ReadFileText(folder_ / "pid").c_str());
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(folder_ / "env")) {
    if (std::chrono::steady_clock::now() > deadline || !ProcessAlive(pid)) {
      std::system(("kill " + std::to_string(pid) + " 2>/dev/null").c_str());
      std::cerr << "the test server did not start: " << ReadFileText(folder_ / "stderr") << "\n";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  env_lines_ = SplitLines(ReadFileText(folder_ / "env"), "\n");
  pid_ = pid;
}

TestServer::~TestServer() {
  if (pid_ > 0) {
    std::system(("kill " + std::to_string(pid_) + " 2>/dev/null").c_str());
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ProcessAlive(pid_) &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

std::string TestServer::Address(const std::string& variable) const {
  for (const auto& line : env_lines_) {
    if (line.rfind(variable + "=", 0) == 0) return line.substr(variable.size() + 1);
  }
  return {};
}

int TestServer::RequestCount() const { return static_cast<int>(LogLines().size()); }

std::string TestServer::RawHead(int n) const {
  return ReadFileText(folder_ / "raw" / (std::to_string(n) + ".head"));
}

std::string TestServer::RawBody(int n) const {
  return ReadFileText(folder_ / "raw" / (std::to_string(n) + ".body"));
}

std::vector<std::string> TestServer::HeaderLines(int n) const {
  std::string head = RawHead(n);
  if (head.size() >= 4) head.resize(head.size() - 4);  // the empty line
  std::vector<std::string> lines = SplitLines(head, "\r\n");
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

std::vector<std::string> TestServer::LogLines() const {
  return SplitLines(ReadFileText(folder_ / "log.jsonl"), "\n");
}

bool TestServer::WaitForRequests(int count) const {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (RequestCount() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}
