#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/command_line.h"
#include "platform/tests/test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsAsTheDesktopSystemDoes) {
  struct Case {
    const char* text;
    Args expected;
  };
  const Case cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"prog  \t a\t\tb  ", {"prog", "a", "b"}},
      {"prog installPath:D:\\Tools channel:abc_upgrade",
       {"prog", "installPath:D:\\Tools", "channel:abc_upgrade"}},
      {"prog \"a b\" c", {"prog", "a b", "c"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"\"", {"prog", ""}},
      {"prog \"\" \"\"", {"prog", "", ""}},
      {"prog a\\b c\\\\d", {"prog", "a\\b", "c\\\\d"}},           // lone backslashes are literal
      {"prog a\\\"b", {"prog", "a\"b"}},                           // \" is a quote
      {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},                   // \\" is \ and a quote
      {"prog a\\\\\\\"b", {"prog", "a\\\"b"}},                     // \\\" is \ and "
      {"prog \"C:\\Program Files\\\\\" x", {"prog", "C:\\Program Files\\", "x"}},
      {"prog \"a\"\"b\" c", {"prog", "a\"b c"}},  // "" inside quotes: a quote, quotes end
      {"prog \"\"\"a\"\"\"", {"prog", "\"a\""}},        // """ outside quotes: a quote
      {"prog \"unclosed arg", {"prog", "unclosed arg"}},
      // The program follows its own rules: quotes without escapes, no joining.
      {"\"C:\\dir\\\"x y", {"C:\\dir\\", "x", "y"}},
      {"\"my prog\"arg", {"my prog", "arg"}},
      {"a\\\"b c", {"a\\\"b", "c"}},
      {" leading", {"", "leading"}},
      {"only", {"only"}},
      {"\"unclosed program", {"unclosed program"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SplitCommandLine(c.text), c.expected);
  }
  EXPECT_EQ(SplitCommandLine(""), Args{ExecutablePath()});
  EXPECT_EQ(fs::path(ExecutablePath()).filename(), "platform_tests");
}

class ProcessTest : public ::testing::Test {
 protected:
  std::string Helper() const { return test::HelperPath(); }
  test::TempDir dir_;
};

TEST_F(ProcessTest, ExitCodesAndStartFailures) {
  struct Case {
    std::string command_line;
    int32_t expected;
  };
  fs::path plain_file = dir_.path() / "notes.txt";
  std::ofstream(plain_file) << "not a program";
  const Case cases[] = {
      {Helper() + " exit 0", 0},
      {Helper() + " exit 3", 3},
      {Helper() + " exit 255", 255},
      {Helper() + " kill-self 9", kExitCodeSignalBase + SIGKILL},
      {Helper() + " kill-self 11", kExitCodeSignalBase + SIGSEGV},
      {(dir_.path() / "missing.exe").string() + " /S", 2},  // ENOENT, "file not found"
      {"no-such-program-anywhere-1234", 2},
      {plain_file.string(), 13},  // EACCES
      {"", 22},
      {"   ", 22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command_line);
    EXPECT_EQ(RunProcessAndWait("", c.command_line), c.expected);
  }
  // An application name wins over the command line's first part.
  EXPECT_EQ(RunProcessAndWait(Helper(), "ignored exit 6"), 6);
  // Programs in $PATH are found by name.
  EXPECT_EQ(RunProcessAndWait("", "sh -c \"exit 4\""), 4);
}

// The arguments the child receives, and an unquoted program path with spaces
// (found by trying ever longer runs of words).
TEST_F(ProcessTest, ChildReceivesSplitArguments) {
  fs::path folder = dir_.path() / "Program Files (x86)" / "zorv";
  fs::create_directories(folder);
  fs::path setup = folder / "setup";
  fs::copy_file(Helper(), setup);
  fs::path out = dir_.path() / "out.txt";
  test::ScopedEnv env("TEST_HELPER_OUT", out.string());

  EXPECT_EQ(RunProcessAndWait("", setup.string() +
                                      " args /S \"/D=C:\\Program Files\\zorv\" a\\\\\"b c\" x"),
            0);
  EXPECT_EQ(test::ReadFile(out), "[/S]\n[/D=C:\\Program Files\\zorv]\n[a\\b c]\n[x]\n");
  fs::remove(out);
  // The install folder runs to the end of the line, spaces included: the child
  // gets its words, which a Windows program's runner joins again.
  EXPECT_EQ(RunProcessAndWait("", "\"" + setup.string() + "\" args /S /D=/opt/a b"), 0);
  EXPECT_EQ(test::ReadFile(out), "[/S]\n[/D=/opt/a]\n[b]\n");
}

TEST_F(ProcessTest, ChildInheritsNoOpenFiles) {
  int leaked = open("/dev/null", O_RDONLY);  // deliberately without O_CLOEXEC
  ASSERT_GE(leaked, 0);
  fs::path out = dir_.path() / "fds.txt";
  test::ScopedEnv env("TEST_HELPER_OUT", out.string());
  EXPECT_EQ(RunProcessAndWait("", Helper() + " fds"), 0);
  close(leaked);
  EXPECT_EQ(test::ReadFile(out), "0\n");
}

// A file that starts with "MZ" runs through the configured runner.
TEST_F(ProcessTest, WindowsProgramsRunThroughTheRunner) {
  fs::path setup = dir_.path() / "zorvlumoraInstaller.exe";
  std::ofstream(setup, std::ios::binary) << "MZ\x90\x00 pretend program";
  fs::path runner = dir_.path() / "runner";
  fs::path log = dir_.path() / "runner.log";
  test::WriteScript(runner, "for a in \"$@\"; do echo \"[$a]\" >> " + log.string() + "; done\nexit 7");

  test::ScopedEnv env("LUMORA_PE_RUNNER", runner.string());
  EXPECT_EQ(WindowsProgramRunner(), runner.string());
  EXPECT_EQ(RunProcessAndWait("", setup.string() + " /S /D=/opt/zorv lumora"), 7);
  EXPECT_EQ(test::ReadFile(log),
            "[" + setup.string() + "]\n[/S]\n[/D=/opt/zorv]\n[lumora]\n");

  test::ScopedEnv missing("LUMORA_PE_RUNNER", (dir_.path() / "no-runner").string());
  EXPECT_EQ(RunProcessAndWait("", setup.string() + " /S"), 8);  // ENOEXEC
}

TEST_F(ProcessTest, FindsAndTerminatesProcessesByName) {
  // A name of this test's own, so other tests' processes do not count.
  const std::string name = "lumora-" + std::to_string(getpid()) + ".exe";
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(toupper(c));
  fs::path product = dir_.path() / name;
  fs::copy_file(Helper(), product);
  int first = test::StartChild(product.string(), {"sleep", "60000"});
  int second = test::StartChild(product.string(), {"sleep", "60000"});
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);

  // A child shows its new program name once its exec has gone through.
  std::vector<int> found;
  for (int i = 0; i < 2000 && found.size() < 2; ++i) {
    if (i > 0) usleep(5000);
    found = FindProcessesByName(name);
  }
  std::sort(found.begin(), found.end());
  std::vector<int> expected{first, second};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(found, expected);
  EXPECT_TRUE(FindProcessesByName(upper).empty());  // exact, case-sensitive
  EXPECT_TRUE(FindProcessesByName(name.substr(0, name.size() - 4)).empty());

  for (int pid : found) EXPECT_TRUE(TerminateProcessById(pid));
  EXPECT_EQ(test::WaitChild(first), 128 + SIGKILL);
  EXPECT_EQ(test::WaitChild(second), 128 + SIGKILL);
  EXPECT_TRUE(FindProcessesByName(name).empty());
  EXPECT_FALSE(TerminateProcessById(first));  // gone
  EXPECT_FALSE(TerminateProcessById(0));
}

}  // namespace
}  // namespace platform
