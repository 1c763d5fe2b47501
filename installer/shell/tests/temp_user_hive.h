#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

// Points the user's registry hive ($XDG_CONFIG_HOME) at a fresh temporary folder
// for the life of the object, and removes the folder afterwards.
class TempUserHive {
 public:
  TempUserHive() {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("lumora-hive-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  }
  ~TempUserHive() {
    unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TempUserHive(const TempUserHive&) = delete;
  TempUserHive& operator=(const TempUserHive&) = delete;

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};
