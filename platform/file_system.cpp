#include "platform/file_system.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::optional<PathAttributes> GetPathAttributes(const std::string& path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return std::nullopt;
  PathAttributes attributes;
  attributes.is_folder = S_ISDIR(st.st_mode);
  attributes.read_only = access(path.c_str(), W_OK) != 0;
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  size_t slash = trimmed.find_last_of('/');
  std::string base = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
  attributes.hidden = base.size() > 1 && base[0] == '.' && base != "..";
  return attributes;
}

bool PathExists(const std::string& path) { return GetPathAttributes(path).has_value(); }

bool IsFolder(const std::string& path) {
  auto attributes = GetPathAttributes(path);
  return attributes && attributes->is_folder;
}

bool CreateFolderTree(const std::string& path) {
  if (path.empty()) return false;
  if (IsFolder(path)) return true;
  // Make each level from the top; a level that already is a folder is fine.
  for (size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
    std::string level = path.substr(0, at);
    if (!level.empty() && level.back() != '/' && mkdir(level.c_str(), 0777) != 0 &&
        errno != EEXIST) {
      return false;
    }
    if (at == std::string::npos) break;
  }
  return IsFolder(path);
}

std::optional<uint64_t> FreeDiskSpace(const std::string& path) {
  struct statvfs info;
  if (path.empty() || statvfs(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
}

}  // namespace platform
