#include "platform/file_system.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/special_folders.h"
#include "platform/tests/test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(FileSystemTest, AttributesAndFolderCreation) {
  test::TempDir dir;
  std::string root = dir.path().string();
  std::ofstream(dir.path() / ".hidden") << "x";

  auto folder = GetPathAttributes(root);
  ASSERT_TRUE(folder.has_value());
  EXPECT_TRUE(folder->is_folder);
  EXPECT_FALSE(folder->hidden);
  auto hidden = GetPathAttributes(root + "/.hidden");
  ASSERT_TRUE(hidden.has_value());
  EXPECT_FALSE(hidden->is_folder);
  EXPECT_TRUE(hidden->hidden);
  EXPECT_FALSE(PathExists(root + "/missing"));
  fs::create_symlink(dir.path() / "nowhere", dir.path() / "broken");
  EXPECT_FALSE(PathExists(root + "/broken"));

  // zorv/lumora/Files below the roaming folder, made level by level.
  std::string files = root + "/roaming/zorv/lumora/Files";
  EXPECT_TRUE(CreateFolderTree(files));
  EXPECT_TRUE(IsFolder(files));
  EXPECT_TRUE(CreateFolderTree(files + "/"));  // already there
  EXPECT_FALSE(CreateFolderTree(root + "/.hidden/sub"));  // a file in the way
  EXPECT_FALSE(CreateFolderTree(""));
  EXPECT_FALSE(IsFolder(root + "/.hidden"));
}

TEST(FileSystemTest, FreeDiskSpaceOfAFolder) {
  test::TempDir dir;
  auto free = FreeDiskSpace(dir.path().string());
  ASSERT_TRUE(free.has_value());
  struct statvfs info;
  ASSERT_EQ(statvfs(dir.path().c_str(), &info), 0);
  // Equal up to what other programs wrote in between.
  EXPECT_NEAR(static_cast<double>(*free), static_cast<double>(info.f_bavail) * info.f_frsize,
              64.0 * 1024 * 1024);
  EXPECT_FALSE(FreeDiskSpace(dir.path().string() + "/missing").has_value());
}

TEST(SpecialFoldersTest, FollowHomeAndXdg) {
  test::TempDir dir;
  std::string home = dir.path().string();
  test::ScopedEnv home_env("HOME", home);
  test::ScopedEnv data_env("XDG_DATA_HOME", "");
  test::ScopedEnv config_env("XDG_CONFIG_HOME", "");

  EXPECT_EQ(SpecialFolderPath(SpecialFolder::kProgramFiles),
            geteuid() == 0 ? "/opt" : home + "/.local/opt");
  EXPECT_EQ(SpecialFolderPath(SpecialFolder::kRoamingAppData), home + "/.local/share");
  EXPECT_EQ(SpecialFolderPath(SpecialFolder::kDesktop), home + "/Desktop");

  test::ScopedEnv data("XDG_DATA_HOME", home + "/data");
  EXPECT_EQ(SpecialFolderPath(SpecialFolder::kRoamingAppData), home + "/data");
  test::ScopedEnv relative("XDG_DATA_HOME", "data");  // relative: ignored
  EXPECT_EQ(SpecialFolderPath(SpecialFolder::kRoamingAppData), home + "/.local/share");

  fs::create_directories(dir.path() / ".config");
  struct Case {
    const char* line;
    std::string expected;
  };
  const Case cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", home + "/Schreibtisch"},
      {"XDG_DESKTOP_DIR=\"$HOME/My\\ \\\"Desk\\\"\"", home + "/My \"Desk\""},
      {"XDG_DESKTOP_DIR=\"/srv/desk\"", "/srv/desk"},
      {"XDG_DESKTOP_DIR=\"relative\"", home + "/Desktop"},
      {"# XDG_DESKTOP_DIR=\"$HOME/x\"", home + "/Desktop"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::ofstream(dir.path() / ".config/user-dirs.dirs")
        << "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n" << c.line << "\n";
    EXPECT_EQ(SpecialFolderPath(SpecialFolder::kDesktop), c.expected);
  }
}

}  // namespace
}  // namespace platform
