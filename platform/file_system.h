#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Paths, folders and free space.
namespace platform {

struct PathAttributes {
  bool is_folder = false;
  bool read_only = false;  // this user may not write it
  bool hidden = false;     // its name starts with '.'
};

// Nothing when the path does not exist (a broken link does not exist).
std::optional<PathAttributes> GetPathAttributes(const std::string& path);
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);

// Creates the folder and every missing parent; true when the folder exists
// afterwards (also when it existed), false when a part is a file or cannot be made.
bool CreateFolderTree(const std::string& path);

// Bytes this user may still write on the file system holding `path`
// (statvfs: available blocks x fragment size); nothing when `path` cannot be read.
std::optional<uint64_t> FreeDiskSpace(const std::string& path);

}  // namespace platform
