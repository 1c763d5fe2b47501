#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "platform/guid.h"
#include "platform/md5.h"
#include "platform/system_info.h"
#include "platform/system_messages.h"
#include "platform/tests/test_support.h"

namespace platform {
namespace {

TEST(SystemMessagesTest, TextsForCodes) {
  struct Case {
    int32_t code;
    const char* expected;
  };
  const Case cases[] = {
      {2, "No such file or directory"},
      {13, "Permission denied"},
      {static_cast<int32_t>(0x800C0005u), "The system cannot locate the resource specified."},
      {static_cast<int32_t>(0x80004004u), "Operation aborted."},
      {static_cast<int32_t>(0x8FFFFFFFu), ""},  // unknown: empty
      {-10002, ""},
      {99999, ""},
      {137, ""},  // a child killed by SIGKILL has no system text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(SystemMessageText(c.code), c.expected);
  }
}

TEST(GuidTest, RandomVersionFourInTheUsualForm) {
  std::set<std::string> seen;
  const std::regex form("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
  for (int i = 0; i < 50; ++i) {
    Guid guid;
    ASSERT_TRUE(CreateGuid(&guid));
    std::string text = GuidText(guid);
    EXPECT_EQ(text.size(), 38u);
    EXPECT_TRUE(std::regex_match(text, form)) << text;
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 50u);
  Guid fixed{0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  EXPECT_EQ(GuidText(fixed), "{01234567-89AB-CDEF-0123-456789ABCDEF}");
}

TEST(Md5Test, KnownDigests) {
  EXPECT_EQ(Md5HexUpper("abc"), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(Md5HexUpper(""), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Md5HexUpper("{01234567-89AB-CDEF-0123-456789ABCDEF}").size(), 32u);
}

TEST(SystemInfoTest, BitnessAndDescription) {
  EXPECT_EQ(BitnessWordFor("x86_64"), "64bit");
  EXPECT_EQ(BitnessWordFor("ia64"), "64bit");
  EXPECT_EQ(BitnessWordFor("aarch64"), "32bit");
  EXPECT_EQ(BitnessWordFor("i686"), "32bit");
  EXPECT_TRUE(BitnessWord() == "64bit" || BitnessWord() == "32bit");

  test::TempDir dir;
  auto os_release = dir.path() / "os-release";
  struct Case {
    const char* content;
    const char* expected;
  };
  const Case cases[] = {
      {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
       "Debian GNU/Linux 12 (bookworm); Linux 6.1.0"},
      {"NAME='Alpine Linux'\nVERSION=3.19\n", "Alpine Linux 3.19; Linux 6.1.0"},
      {"# nothing useful\n", "Linux 6.1.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    std::ofstream(os_release) << c.content;
    EXPECT_EQ(OperatingSystemDescriptionFrom(os_release.string(), "Linux", "6.1.0"), c.expected);
  }
  EXPECT_EQ(OperatingSystemDescriptionFrom((dir.path() / "missing").string(), "", ""), "Linux");
  EXPECT_NE(OperatingSystemDescription().find("Linux"), std::string::npos);
}

}  // namespace
}  // namespace platform
