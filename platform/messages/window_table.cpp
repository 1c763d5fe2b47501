#include "platform/messages/window_table.h"

#include <mutex>

namespace platform {

WindowTable& WindowTable::Get() {
  static WindowTable* table = new WindowTable();
  return *table;
}

bool WindowTable::RegisterClass(std::string_view name, WindowProcedure procedure) {
  std::unique_lock lock(mutex_);
  return classes_.emplace(std::string(name), procedure).second;
}

bool WindowTable::UnregisterClass(std::string_view name) {
  std::unique_lock lock(mutex_);
  return classes_.erase(std::string(name)) > 0;
}

WindowProcedure WindowTable::ClassProcedure(std::string_view name) {
  std::shared_lock lock(mutex_);
  auto it = classes_.find(std::string(name));
  return it == classes_.end() ? nullptr : it->second;
}

WindowHandle WindowTable::Add(WindowProcedure procedure, void* user_data,
                              std::shared_ptr<ThreadMessageQueue> queue) {
  std::unique_lock lock(mutex_);
  WindowHandle handle = next_handle_++;
  windows_.emplace(handle, Entry{procedure, user_data, Size{}, std::move(queue)});
  return handle;
}

bool WindowTable::Remove(WindowHandle window) {
  std::shared_ptr<ThreadMessageQueue> queue;  // released after the lock
  std::unique_lock lock(mutex_);
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  queue = std::move(it->second.queue);
  windows_.erase(it);
  return true;
}

void WindowTable::RemoveAllOf(const ThreadMessageQueue* queue) {
  std::vector<std::shared_ptr<ThreadMessageQueue>> released;
  std::unique_lock lock(mutex_);
  for (auto it = windows_.begin(); it != windows_.end();) {
    if (it->second.queue.get() == queue) {
      released.push_back(std::move(it->second.queue));
      it = windows_.erase(it);
    } else {
      ++it;
    }
  }
}

bool WindowTable::Find(WindowHandle window, Entry* entry) {
  std::shared_lock lock(mutex_);
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  *entry = it->second;
  return true;
}

std::shared_ptr<ThreadMessageQueue> WindowTable::QueueOf(WindowHandle window) {
  std::shared_lock lock(mutex_);
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.queue;
}

bool WindowTable::SetUserData(WindowHandle window, void* user_data) {
  std::unique_lock lock(mutex_);
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.user_data = user_data;
  return true;
}

WindowProcedure WindowTable::SetProcedure(WindowHandle window, WindowProcedure procedure) {
  std::unique_lock lock(mutex_);
  auto it = windows_.find(window);
  if (it == windows_.end()) return nullptr;
  WindowProcedure previous = it->second.procedure;
  it->second.procedure = procedure;
  return previous;
}

bool WindowTable::SetClientSize(WindowHandle window, Size size) {
  std::unique_lock lock(mutex_);
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.client_size = size;
  return true;
}

}  // namespace platform
