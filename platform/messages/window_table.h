#pragma once

#include <atomic>
#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "platform/messages/window_messages.h"

// Process-wide registry of window handles and window classes.
namespace platform {

class ThreadMessageQueue;

class WindowTable {
 public:
  struct Entry {
    WindowProcedure procedure = nullptr;
    void* user_data = nullptr;
    Size client_size;
    std::shared_ptr<ThreadMessageQueue> queue;
  };

  // Never destroyed: windows may be touched from thread-exit and process-exit paths.
  static WindowTable& Get();

  bool RegisterClass(std::string_view name, WindowProcedure procedure);
  bool UnregisterClass(std::string_view name);
  WindowProcedure ClassProcedure(std::string_view name);

  WindowHandle Add(WindowProcedure procedure, void* user_data, std::shared_ptr<ThreadMessageQueue> queue);
  bool Remove(WindowHandle window);
  // Removes every window of a queue whose thread has ended.
  void RemoveAllOf(const ThreadMessageQueue* queue);
  // A copy of the entry; false for an unknown handle.
  bool Find(WindowHandle window, Entry* entry);
  std::shared_ptr<ThreadMessageQueue> QueueOf(WindowHandle window);
  bool SetUserData(WindowHandle window, void* user_data);
  WindowProcedure SetProcedure(WindowHandle window, WindowProcedure procedure);
  bool SetClientSize(WindowHandle window, Size size);

 private:
  WindowTable() = default;

  std::shared_mutex mutex_;
  std::unordered_map<WindowHandle, Entry> windows_;
  std::unordered_map<std::string, WindowProcedure> classes_;
  WindowHandle next_handle_ = 1;
};

}  // namespace platform
