#pragma once

#include <memory>

#include "tasks/message_loop.h"
#include "tasks/ui_message_loop.h"
#include "tasks/win_ui_message_pump.h"

namespace nbase {

// A window-message loop on the calling thread, built as a UI thread body builds it.
inline std::unique_ptr<UIMessageLoop> MakeUILoop() {
  auto loop = std::make_unique<UIMessageLoop>();
  loop->ReplacePump(std::make_shared<WinUIMessagePump>(), MessageLoop::kUIMessageLoop);
  return loop;
}

inline WinUIMessagePump* UIPumpOf(MessageLoop* loop) { return static_cast<WinUIMessagePump*>(loop->pump()); }

// Posts a task that ends the innermost run of the loop it runs on.
inline void PostQuit(MessageLoop* loop) {
  loop->PostTask([] { MessageLoop::current()->Quit(); });
}

}  // namespace nbase
