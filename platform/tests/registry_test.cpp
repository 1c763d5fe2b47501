#include "platform/registry_key.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/tests/test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

const char kAppKey[] = "Software\\zorv\\lumora\\AppInfo";

// Both hives in a fresh temporary folder.
class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest()
      : config_env_("XDG_CONFIG_HOME", (dir_.path() / "config").string()),
        machine_env_("LUMORA_MACHINE_HIVE", (dir_.path() / "machine" / "hive.db").string()) {}

  std::string UserFile() const { return RegistryHiveFile(RegistryHive::kCurrentUser); }
  std::vector<std::string> Env() const {
    return {"XDG_CONFIG_HOME=" + (dir_.path() / "config").string(),
            "LUMORA_MACHINE_HIVE=" + (dir_.path() / "machine" / "hive.db").string()};
  }

  test::TempDir dir_;
  test::ScopedEnv config_env_;
  test::ScopedEnv machine_env_;
};

std::string Read(RegistryHive hive, std::string_view key, std::string_view name) {
  std::string value = "<none>";
  RegistryKey::Open(hive, key).ReadString(name, &value);
  return value;
}

TEST_F(RegistryTest, HiveFilesFollowTheEnvironment) {
  EXPECT_EQ(UserFile(), (dir_.path() / "config/lumora/registry.db").string());
  EXPECT_EQ(RegistryHiveFile(RegistryHive::kLocalMachine),
            (dir_.path() / "machine/hive.db").string());
  test::ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");  // invalid for XDG: ignored
  test::ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(UserFile(), "/home/someone/.config/lumora/registry.db");
}

TEST_F(RegistryTest, ReadingAMissingStoreFindsNothingAndCreatesNothing) {
  RegStatus status = RegStatus::kOk;
  EXPECT_FALSE(RegistryKey::Open(RegistryHive::kCurrentUser, kAppKey, &status).IsValid());
  EXPECT_EQ(status, RegStatus::kNotFound);
  std::vector<std::string> names;
  EXPECT_EQ(RegistryStore(UserFile()).SubkeyNames("", &names), RegStatus::kOk);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(fs::exists(UserFile()));
  EXPECT_FALSE(fs::exists(dir_.path() / "config"));

  // An empty file is an empty store, read without being changed.
  fs::create_directories(fs::path(UserFile()).parent_path());
  std::ofstream(UserFile()) << "";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(RegistryKey::Open(RegistryHive::kCurrentUser, kAppKey).IsValid());
  EXPECT_EQ(RegistryStore(UserFile()).SubkeyNames("", &names), RegStatus::kOk);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(fs::file_size(UserFile()), 0u);
}

TEST_F(RegistryTest, WriteReadAndNamesIgnoreCase) {
  RegistryKey key = RegistryKey::Create(RegistryHive::kCurrentUser, kAppKey);
  ASSERT_TRUE(key.IsValid());
  EXPECT_EQ(key.WriteString("InstallerPath", "/opt/zorv/lumora"), RegStatus::kOk);
  EXPECT_EQ(key.WriteString("Ärger", "umlaut"), RegStatus::kOk);
  EXPECT_EQ(key.WriteString("", "default value"), RegStatus::kOk);

  struct Case {
    const char* key;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"Software\\zorv\\lumora\\AppInfo", "InstallerPath", "/opt/zorv/lumora"},
      {"SOFTWARE\\ZORV\\LUMORA\\APPINFO", "installerpath", "/opt/zorv/lumora"},
      {"\\software\\Zorv\\Lumora\\appinfo\\", "INSTALLERPATH", "/opt/zorv/lumora"},
      {kAppKey, "ärger", "umlaut"},  // beyond ASCII too
      {kAppKey, "ÄRGER", "umlaut"},
      {kAppKey, "", "default value"},
      {kAppKey, "InstallerPat", "<none>"},
      {"Software\\zorv\\lumora", "InstallerPath", "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " / " + c.name);
    EXPECT_EQ(Read(RegistryHive::kCurrentUser, c.key, c.name), c.expected);
  }

  // Rewriting under another spelling replaces the value and keeps the first spelling.
  EXPECT_EQ(RegistryKey::Open(RegistryHive::kCurrentUser, "software\\ZORV\\lumora\\appinfo")
                .WriteString("INSTALLERPATH", "/srv/other"),
            RegStatus::kOk);
  std::vector<std::pair<std::string, std::string>> values;
  EXPECT_EQ(key.Values(&values), RegStatus::kOk);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[1], (std::pair<std::string, std::string>("InstallerPath", "/srv/other")));
  // The machine hive is another store.
  EXPECT_EQ(Read(RegistryHive::kLocalMachine, kAppKey, "InstallerPath"), "<none>");
}

TEST_F(RegistryTest, SubkeysEnumerateAndDeleteAsATree) {
  const char kUninstall[] = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  for (const char* sub : {"zeta", "Alpha", "beta\\nested", "Beta"}) {
    ASSERT_TRUE(RegistryKey::Create(RegistryHive::kLocalMachine,
                                    std::string(kUninstall) + "\\" + sub)
                    .IsValid());
  }
  RegistryKey uninstall = RegistryKey::Open(RegistryHive::kLocalMachine,
                                            "software\\microsoft\\windows\\currentversion\\uninstall");
  ASSERT_TRUE(uninstall.IsValid());
  std::vector<std::string> names;
  EXPECT_EQ(uninstall.SubkeyNames(&names), RegStatus::kOk);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "zeta"}));  // "Beta" is "beta"

  RegistryKey beta = uninstall.OpenSubkey("BETA");
  ASSERT_TRUE(beta.IsValid());
  EXPECT_EQ(beta.WriteString("DisplayName", "Verimo图片转换器 2.1"), RegStatus::kOk);
  EXPECT_EQ(Read(RegistryHive::kLocalMachine, std::string(kUninstall) + "\\beta", "displayname"),
            "Verimo图片转换器 2.1");
  EXPECT_FALSE(uninstall.OpenSubkey("gamma").IsValid());

  EXPECT_EQ(DeleteRegistryKey(RegistryHive::kLocalMachine, std::string(kUninstall) + "\\Beta"),
            RegStatus::kOk);
  EXPECT_EQ(uninstall.SubkeyNames(&names), RegStatus::kOk);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "zeta"}));
  // A handle to the deleted key now answers "not found", and nothing of the tree is left.
  EXPECT_EQ(beta.WriteString("x", "y"), RegStatus::kNotFound);
  EXPECT_FALSE(RegistryKey::Open(RegistryHive::kLocalMachine, std::string(kUninstall) +
                                                                  "\\beta\\nested")
                   .IsValid());
  EXPECT_EQ(DeleteRegistryKey(RegistryHive::kLocalMachine, "nothing\\here"), RegStatus::kNotFound);
}

TEST_F(RegistryTest, InvalidNamesAndValuesAreRefused) {
  RegistryStore store(UserFile());
  EXPECT_EQ(store.CreateKey("a\\\\b"), RegStatus::kInvalidName);
  EXPECT_EQ(store.CreateKey(std::string(256, 'k')), RegStatus::kInvalidName);
  EXPECT_EQ(store.CreateKey(std::string(255, 'k')), RegStatus::kOk);
  EXPECT_EQ(store.WriteString("", "name", "root has no values", true), RegStatus::kInvalidName);
  EXPECT_EQ(store.DeleteKey(""), RegStatus::kInvalidName);
  EXPECT_EQ(store.WriteString("Missing", "name", "x"), RegStatus::kNotFound);  // no create
  EXPECT_FALSE(RegistryKey::Open(RegistryHive::kCurrentUser, "Missing").IsValid());
  EXPECT_EQ(store.DeleteValue(std::string(255, 'k'), "absent"), RegStatus::kNotFound);
}

TEST_F(RegistryTest, StoreThatCannotBeCreatedIsAnAccessError) {
  test::ScopedEnv unwritable("LUMORA_MACHINE_HIVE", "/proc/lumora-test/hive.db");
  RegStatus status = RegStatus::kOk;
  EXPECT_FALSE(RegistryKey::Create(RegistryHive::kLocalMachine, "Software", &status).IsValid());
  EXPECT_EQ(status, RegStatus::kAccessDenied);
  EXPECT_EQ(Read(RegistryHive::kLocalMachine, "Software", "x"), "<none>");
}

// A damaged store is kept aside byte for byte, a line goes to stderr, and the
// program carries on with a fresh store.
TEST_F(RegistryTest, DamagedStoreIsKeptAsideAndReplaced) {
  ASSERT_EQ(RegistryStore(UserFile()).WriteString(kAppKey, "UniqueId", "ABC", true), RegStatus::kOk);
  // Two kinds of damage: garbage in place of the header, and a sound header
  // with its pages overwritten.
  std::string original = test::ReadFile(UserFile());
  ASSERT_GT(original.size(), 2048u);
  std::string garbage = "this is not a database, only words " + std::string(4000, '#');
  std::string torn = original.substr(0, 100) + std::string(original.size() - 100, '\xA5');

  for (const std::string& damaged : {garbage, torn}) {
    SCOPED_TRACE(damaged.substr(0, 10));
    for (const auto& entry : fs::directory_iterator(fs::path(UserFile()).parent_path())) {
      if (entry.path().string().find(".corrupt-") != std::string::npos) fs::remove(entry.path());
    }
    {
      std::ofstream out(UserFile(), std::ios::binary | std::ios::trunc);
      out << damaged;
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(Read(RegistryHive::kCurrentUser, kAppKey, "UniqueId"), "<none>");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("was damaged"), std::string::npos) << err;

    std::vector<fs::path> aside;
    for (const auto& entry : fs::directory_iterator(fs::path(UserFile()).parent_path())) {
      if (entry.path().string().find(".corrupt-") != std::string::npos) {
        aside.push_back(entry.path());
      }
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(test::ReadFile(aside[0]), damaged);
    EXPECT_NE(err.find(aside[0].string()), std::string::npos);

    // The fresh store works and says nothing more.
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegistryStore(UserFile()).WriteString(kAppKey, "UniqueId", "NEW", true),
              RegStatus::kOk);
    EXPECT_EQ(Read(RegistryHive::kCurrentUser, kAppKey, "UniqueId"), "NEW");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
}

// Two processes write 2 x 300 values into one key at the same time, one
// transaction per value; every value is there afterwards.
TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kCount = 300;
  test::RunResult results[2];
  std::thread writers[2];
  for (int i = 0; i < 2; ++i) {
    writers[i] = std::thread([&, i] {
      results[i] = test::RunHelper(test::HelperPath(),
                                   {"reg-write", std::to_string(kCount), i == 0 ? "first" : "second"},
                                   Env(), 60000);
    });
  }
  for (std::thread& t : writers) t.join();
  for (const test::RunResult& r : results) EXPECT_EQ(r.code, 0) << r.err;

  std::vector<std::pair<std::string, std::string>> values;
  ASSERT_EQ(RegistryKey::Open(RegistryHive::kCurrentUser, "Stress").Values(&values), RegStatus::kOk);
  EXPECT_EQ(values.size(), 2u * kCount);
  for (const char* prefix : {"first", "second"}) {
    for (int i = 0; i < kCount; ++i) {
      std::string name = std::string(prefix) + "-" + std::to_string(i);
      ASSERT_EQ(Read(RegistryHive::kCurrentUser, "Stress", name), std::to_string(i)) << name;
    }
  }
}

// The command-line tool over the same store, run as a real process.
TEST_F(RegistryTest, LumoraRegTool) {
  struct Step {
    std::vector<std::string> args;
    int code;
    std::string out;
    std::string err_part;
  };
  const std::string kKey = "HKCU\\Software\\zorv\\lumora\\AppInfo";
  const Step steps[] = {
      {{"add", kKey, "InstallerChannel", "abc_upgrade"}, 0, "", ""},
      {{"query", "hkcu\\software\\ZORV\\lumora\\appinfo", "installerchannel"}, 0, "abc_upgrade\n", ""},
      {{"add", kKey, "UniqueId", "900150983CD24FB0D6963F7D28E17F72"}, 0, "", ""},
      {{"query", kKey}, 0, "InstallerChannel\tabc_upgrade\nUniqueId\t900150983CD24FB0D6963F7D28E17F72\n", ""},
      {{"list", "HKEY_CURRENT_USER\\Software\\zorv"}, 0, "lumora\n", ""},
      {{"query", kKey, "Missing"}, 1, "", "not found"},
      {{"list", "HKCU\\Nowhere"}, 1, "", "not found"},
      {{"delete", kKey, "UniqueId"}, 0, "", ""},
      {{"delete", kKey, "UniqueId"}, 1, "", "not found"},
      {{"add", "HKLM\\SoftWare\\Uninstall\\Product"}, 0, "", ""},
      {{"list", "HKLM\\software\\uninstall"}, 0, "Product\n", ""},
      {{"delete", "HKLM\\Software"}, 0, "", ""},
      {{"list", "HKLM"}, 0, "", ""},
      {{"delete", "HKLM"}, 2, "", "invalid name"},
      {{}, 2, "", "usage:"},
      {{"query"}, 2, "", "usage:"},
      {{"frobnicate", kKey}, 2, "", "unknown command"},
      {{"query", "HKXX\\Software"}, 2, "", "must start with HKCU"},
      {{"add", kKey, "OnlyName"}, 2, "", "add takes"},
      {{"list", kKey, "extra"}, 2, "", "list takes"},
  };
  for (const Step& step : steps) {
    std::string trace;
    for (const std::string& a : step.args) trace += a + " ";
    SCOPED_TRACE(trace);
    test::RunResult r = test::RunHelper(LUMORA_REG_TOOL, step.args, Env());
    EXPECT_EQ(r.code, step.code) << r.err;
    EXPECT_EQ(r.out, step.out);
    if (!step.err_part.empty()) {
      EXPECT_NE(r.err.find(step.err_part), std::string::npos) << r.err;
    }
  }
  // What the tool wrote, this process reads back.
  EXPECT_EQ(Read(RegistryHive::kCurrentUser, kAppKey, "InstallerChannel"), "abc_upgrade");
}

}  // namespace
}  // namespace platform
