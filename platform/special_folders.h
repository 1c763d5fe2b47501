#pragma once

#include <string>

// The special folders the program uses, as this system keeps them.
namespace platform {

enum class SpecialFolder {
  kProgramFiles,    // /opt when running as root, else ~/.local/opt
  kRoamingAppData,  // $XDG_DATA_HOME, else ~/.local/share
  kDesktop,         // XDG_DESKTOP_DIR of $XDG_CONFIG_HOME/user-dirs.dirs, else ~/Desktop
};

// The folder's path (which need not exist yet); empty when the home folder is unknown.
std::string SpecialFolderPath(SpecialFolder folder);

// $HOME, else the password database's home of this user; empty when neither is known.
std::string HomeFolder();

}  // namespace platform
