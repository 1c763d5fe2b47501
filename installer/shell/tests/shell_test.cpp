#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "installer/shell/app_resources.h"
#include "installer/shell/registry_strings.h"
#include "installer/shell/server_addresses.h"
#include "installer/shell/shell_utils.h"
#include "installer/shell/tests/temp_user_hive.h"

namespace {

namespace fs = std::filesystem;

// The user hive in a temporary folder for each test.
class RegistryStringsTest : public ::testing::Test {
 protected:
  TempUserHive hive_;
};

TEST_F(RegistryStringsTest, WriteCreatesTheKeyAndReadGetsTheTextBack) {
  EXPECT_EQ(ReadRegString(kAppInfoKey, u"InstallerPath"), u"");
  EXPECT_EQ(WriteRegString(kAppInfoKey, u"InstallerPath", u"/opt/zorv/lumora 图片"), 0);
  EXPECT_EQ(ReadRegString(kAppInfoKey, u"InstallerPath"), u"/opt/zorv/lumora 图片");
  // Names compare without regard to case, as the desktop registry's do.
  EXPECT_EQ(ReadRegString(u"software\\ZORV\\lumora\\appinfo", u"installerpath"),
            u"/opt/zorv/lumora 图片");
  EXPECT_EQ(ReadRegString(kAppInfoKey, u"Missing"), u"");
}

TEST_F(RegistryStringsTest, ReadBufferHolds259Units) {
  // Counted in UTF-16 units: a character outside the BMP takes two.
  const std::pair<std::u16string, bool> cases[] = {
      {std::u16string(259, u'x'), true},
      {std::u16string(260, u'x'), false},
      {std::u16string(257, u'x') + u"\U0001F600", true},
      {std::u16string(258, u'x') + u"\U0001F600", false},
  };
  for (const auto& [text, fits] : cases) {
    SCOPED_TRACE(text.size());
    ASSERT_EQ(WriteRegString(kAppInfoKey, u"Long", text), 0);
    EXPECT_EQ(ReadRegString(kAppInfoKey, u"Long"), fits ? text : u"");
  }
}

TEST_F(RegistryStringsTest, WriteFailsWhereNoStoreCanBeMade) {
  // The store's folder cannot be created below a plain file.
  fs::path file = hive_.folder() / "plain-file";
  { std::ofstream(file) << "x"; }
  setenv("XDG_CONFIG_HOME", file.c_str(), 1);
  EXPECT_EQ(WriteRegString(kAppInfoKey, u"UniqueId", u"abc"), 1);
  EXPECT_EQ(ReadRegString(kAppInfoKey, u"UniqueId"), u"");
}

TEST(AppResources, ChannelAndVersionOfThisExecutable) {
  std::u16string channel = u"untouched";
  ASSERT_TRUE(ReadChannelResource(channel));
  EXPECT_EQ(channel, u"zorv_频道");
  EXPECT_EQ(GetFileVersionText(u""), u"1.6.1.6");
  EXPECT_EQ(GetFileVersionText(u"/some/other/file"), u"1.6.1.6");  // computed once
}

TEST(ShellUtils, NowMillisTextCountsFrom1601) {
  using namespace std::chrono;
  uint64_t unix_ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  uint64_t now = std::stoull(NowMillisText());
  uint64_t expected = unix_ms + 11644473600000ULL;
  EXPECT_LE(expected - 2000, now);
  EXPECT_LE(now, expected + 2000);
}

TEST(ServerAddresses, EnvironmentOverridesTheBuildWithoutTrailingSlash) {
  unsetenv("LUMORA_CDN_SERVER");
  std::string built = CdnServerAddress();
  EXPECT_EQ(built.rfind("http", 0), 0u);
  setenv("LUMORA_CDN_SERVER", "http://127.0.0.1:8080/", 1);
  EXPECT_EQ(CdnServerAddress(), "http://127.0.0.1:8080");
  setenv("LUMORA_CDN_SERVER", "", 1);
  EXPECT_EQ(CdnServerAddress(), built);
  unsetenv("LUMORA_CDN_SERVER");
}

TEST(ShellUtils, OpenUrlHandsTheTrimmedAddressToTheHandler) {
  fs::path folder = fs::temp_directory_path() / ("lumora-open-test-" + std::to_string(std::rand()));
  fs::create_directories(folder);
  fs::path handler = folder / "open.sh";
  fs::path seen = folder / "seen";
  { std::ofstream(handler) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << seen.string() << ".tmp'\nmv '"
                           << seen.string() << ".tmp' '" << seen.string() << "'\n"; }
  fs::permissions(handler, fs::perms::owner_all);
  setenv("LUMORA_OPEN_COMMAND", handler.c_str(), 1);
  EXPECT_TRUE(OpenUrl(u" \t http://127.0.0.1:1/privacy/p1.html \r\n"));
  unsetenv("LUMORA_OPEN_COMMAND");
  // The handler runs detached: wait for its file.
  for (int i = 0; i < 500 && !fs::exists(seen); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::ifstream in(seen);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "http://127.0.0.1:1/privacy/p1.html");
  fs::remove_all(folder);
}

TEST(ShellUtils, ShellFolderPathByNumber) {
  setenv("XDG_DATA_HOME", "/tmp/lumora-data-home", 1);
  EXPECT_EQ(GetShellFolderPath(0x1A), u"/tmp/lumora-data-home");
  unsetenv("XDG_DATA_HOME");
  EXPECT_FALSE(GetShellFolderPath(0x2A).empty());
  EXPECT_EQ(GetShellFolderPath(0x05), u"");  // a folder the installer never asks for
}

}  // namespace
