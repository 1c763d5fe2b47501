#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "installer/shell/app_resources.h"
#include "installer/shell/registry_strings.h"
#include "installer/shell/server_addresses.h"
#include "installer/shell/shell_utils.h"

namespace {

namespace fs = std::filesystem;

// The user hive in a temporary folder for each test.
class RegistryStringsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("lumora-shell-test-" + std::to_string(std::rand()));
    fs::create_directories(folder_);
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path folder_;
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
  fs::path file = folder_ / "plain-file";
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

}  // namespace
