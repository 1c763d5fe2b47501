#pragma once

#include <string>

#include "platform/messages/window_messages.h"

namespace platform {

struct FolderChoice {
  bool chosen = false;
  std::string path;    // absolute folder, when chosen
  std::string status;  // "chosen" or "cancelled"
};

// Lets the user pick a folder with the desktop's own chooser: the program named by
// $LUMORA_FOLDER_CHOOSER when set (called like zenity), else zenity, else kdialog.
// The owner is disabled and the thread's messages keep being dispatched while the
// chooser runs. No chooser, a cancelled one, or an answer that is not an existing
// folder: "cancelled". Texts are UTF-8.
FolderChoice ChooseFolder(WindowHandle owner, const std::string& title, const std::string& start_folder);

}  // namespace platform
