#include "platform/shell_open.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/tests/test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class ShellOpenTest : public ::testing::Test {
 protected:
  // A handler that records its arguments, then waits for "release" before
  // writing "done": ShellOpen must have returned long before.
  fs::path MakeHandler(const std::string& name) {
    fs::path handler = dir_.path() / name;
    test::WriteScript(handler,
                      "PATH=/usr/bin:/bin\necho \"$0|$*\" > " + (dir_.path() / "args").string() +
                          "\nn=0; while [ ! -e " + (dir_.path() / "release").string() +
                          " ] && [ $n -lt 3000 ]; do sleep 0.01; n=$((n+1)); done\n"
                          "touch " + (dir_.path() / "done").string());
    return handler;
  }
  void ExpectOpenedDetached(const std::string& expected_args) {
    EXPECT_FALSE(fs::exists(dir_.path() / "done"));  // returned while the handler runs
    std::ofstream(dir_.path() / "release") << "";
    ASSERT_TRUE(test::WaitForFile(dir_.path() / "done"));
    EXPECT_EQ(test::ReadFile(dir_.path() / "args"), expected_args + "\n");
    fs::remove(dir_.path() / "done");
    fs::remove(dir_.path() / "release");
  }

  test::TempDir dir_;
};

TEST_F(ShellOpenTest, OpenCommandOverride) {
  fs::path handler = MakeHandler("opener");
  test::ScopedEnv env("LUMORA_OPEN_COMMAND", handler.string());
  ASSERT_TRUE(ShellOpen("http://127.0.0.1/privacy/p1.html?a=1&b=2"));
  ExpectOpenedDetached(handler.string() + "|http://127.0.0.1/privacy/p1.html?a=1&b=2");
  test::ScopedEnv missing("LUMORA_OPEN_COMMAND", (dir_.path() / "nothing").string());
  EXPECT_FALSE(ShellOpen("http://127.0.0.1/"));
}

// Without an override: xdg-open, then x-www-browser, then nothing.
TEST_F(ShellOpenTest, DesktopOpenerAndBrowserFallback) {
  test::ScopedEnv no_override("LUMORA_OPEN_COMMAND", "");
  fs::path bin = dir_.path() / "bin";
  fs::create_directories(bin);
  test::ScopedEnv path("PATH", bin.string());
  EXPECT_FALSE(ShellOpen("http://127.0.0.1/offline/photo.html"));

  fs::copy_file(MakeHandler("browser"), bin / "x-www-browser");
  ASSERT_TRUE(ShellOpen("http://127.0.0.1/offline/photo.html"));
  ExpectOpenedDetached((bin / "x-www-browser").string() + "|http://127.0.0.1/offline/photo.html");

  fs::copy_file(MakeHandler("xdg"), bin / "xdg-open");
  ASSERT_TRUE(ShellOpen("/some/file.txt"));
  ExpectOpenedDetached((bin / "xdg-open").string() + "|/some/file.txt");
}

TEST_F(ShellOpenTest, ProgramsRunThemselvesOrThroughTheRunner) {
  test::ScopedEnv no_override("LUMORA_OPEN_COMMAND", "");
  fs::path program = MakeHandler("lumora");
  ASSERT_TRUE(ShellOpen(program.string()));
  ExpectOpenedDetached(program.string() + "|");

  fs::path windows_program = dir_.path() / "lumora.exe";
  std::ofstream(windows_program, std::ios::binary) << "MZ pretend";
  fs::path runner = MakeHandler("runner");
  test::ScopedEnv env("LUMORA_PE_RUNNER", runner.string());
  ASSERT_TRUE(ShellOpen(windows_program.string()));
  ExpectOpenedDetached(runner.string() + "|" + windows_program.string());
}

}  // namespace
}  // namespace platform
