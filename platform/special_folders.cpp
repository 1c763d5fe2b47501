#include "platform/special_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace platform {

namespace {

// An XDG variable counts only when it holds an absolute path.
std::string XdgFolder(const char* variable, const std::string& fallback) {
  const char* value = getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  return fallback;
}

// The desktop entry of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/Desktop".
std::string DesktopFromUserDirs(const std::string& home) {
  std::string config = XdgFolder("XDG_CONFIG_HOME", home + "/.config");
  std::ifstream in(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_DESKTOP_DIR=\"";
    if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
    std::string value = line.substr(key.size(), line.size() - key.size() - 1);
    std::string path;
    if (value.rfind("$HOME", 0) == 0) {
      path = home + value.substr(5);
    } else if (!value.empty() && value[0] == '/') {
      path = value;
    } else {
      continue;  // the format allows only these two forms
    }
    std::string unescaped;
    for (size_t i = 0; i < path.size(); ++i) {
      if (path[i] == '\\' && i + 1 < path.size()) ++i;
      unescaped += path[i];
    }
    return unescaped;
  }
  return home + "/Desktop";
}

}  // namespace

std::string HomeFolder() {
  if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/') return home;
  passwd entry;
  passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof(buffer), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

std::string SpecialFolderPath(SpecialFolder folder) {
  if (folder == SpecialFolder::kProgramFiles && geteuid() == 0) return "/opt";
  std::string home = HomeFolder();
  if (home.empty()) return {};
  switch (folder) {
    case SpecialFolder::kProgramFiles:
      return home + "/.local/opt";
    case SpecialFolder::kRoamingAppData:
      return XdgFolder("XDG_DATA_HOME", home + "/.local/share");
    case SpecialFolder::kDesktop:
      return DesktopFromUserDirs(home);
  }
  return {};
}

}  // namespace platform
