#include "tasks/thread.h"

#include <system_error>

namespace nbase {

Thread::~Thread() { Close(); }

bool Thread::Create() {
  try {
    handle_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    thread_id_ = 0;
    return false;
  }
  return true;
}

void Thread::Close() {
  if (!handle_.joinable()) return;
  if (handle_.get_id() == std::this_thread::get_id()) {
    handle_.detach();  // a thread cannot wait for itself
  } else {
    handle_.join();
  }
  thread_id_ = 0;
}

uint32_t Thread::CurrentThreadId() {
  static std::atomic<uint32_t> next_id{1};
  thread_local uint32_t id = next_id.fetch_add(1);
  return id;
}

}  // namespace nbase
