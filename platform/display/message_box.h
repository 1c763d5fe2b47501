#pragma once

#include <cstdint>
#include <string>

#include "platform/display/display_ids.h"
#include "platform/messages/window_messages.h"

namespace platform {

// The system message box: a small modal dialog with the text, an error icon for
// kMbIconError, and the buttons of kMbOk or kMbRetryCancel. The owner (may be 0) is
// disabled while it shows; the calling thread's messages keep being dispatched.
// Returns kIdOk, kIdRetry or kIdCancel; closing the box answers Cancel (OK for a
// box with only OK). A quit message ends the box the same way and is posted again
// for the enclosing loop. Texts are UTF-8. 0 when no X server can be reached.
int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, uint32_t type);

}  // namespace platform
