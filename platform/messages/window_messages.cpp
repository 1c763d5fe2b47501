#include "platform/messages/window_messages.h"

#include "platform/clock.h"
#include "platform/messages/thread_message_queue.h"
#include "platform/messages/window_table.h"

namespace platform {
namespace {

ThreadMessageQueue& Queue() { return *ThreadMessageQueue::Current(); }

// The queue of a window owned by the calling thread, else null.
ThreadMessageQueue* OwnQueue(WindowHandle window) {
  auto queue = WindowTable::Get().QueueOf(window);
  return queue && queue == ThreadMessageQueue::Current() ? queue.get() : nullptr;
}

}  // namespace

bool RegisterWindowClass(std::string_view class_name, WindowProcedure procedure) {
  return procedure && WindowTable::Get().RegisterClass(class_name, procedure);
}

bool UnregisterWindowClass(std::string_view class_name) { return WindowTable::Get().UnregisterClass(class_name); }

WindowHandle CreateMessageWindow(std::string_view class_name, void* user_data) {
  WindowProcedure procedure = WindowTable::Get().ClassProcedure(class_name);
  if (!procedure) return 0;
  return RegisterWindow(procedure, user_data);
}

WindowHandle RegisterWindow(WindowProcedure procedure, void* user_data) {
  if (!procedure) return 0;
  return WindowTable::Get().Add(procedure, user_data, ThreadMessageQueue::Current());
}

bool DestroyWindow(WindowHandle window) {
  ThreadMessageQueue* queue = OwnQueue(window);
  if (!queue) return false;
  SendMessage(window, kDestroy, 0, 0);
  SendMessage(window, kNcDestroy, 0, 0);
  WindowTable::Get().Remove(window);
  queue->DropWindow(window);
  return true;
}

bool IsWindow(WindowHandle window) { return WindowTable::Get().QueueOf(window) != nullptr; }

bool IsWindowOnCurrentThread(WindowHandle window) { return OwnQueue(window) != nullptr; }

void* GetWindowUserData(WindowHandle window) {
  WindowTable::Entry entry;
  return WindowTable::Get().Find(window, &entry) ? entry.user_data : nullptr;
}

void SetWindowUserData(WindowHandle window, void* user_data) { WindowTable::Get().SetUserData(window, user_data); }

WindowProcedure SetWindowProcedure(WindowHandle window, WindowProcedure procedure) {
  if (!procedure) return nullptr;
  return WindowTable::Get().SetProcedure(window, procedure);
}

void SetWindowClientSize(WindowHandle window, Size size) { WindowTable::Get().SetClientSize(window, size); }

bool PostMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  return PostInputMessage(Message{window, message, wparam, lparam, TickCount(), {}});
}

bool PostInputMessage(const Message& message) {
  auto queue = WindowTable::Get().QueueOf(message.window);
  return queue && queue->Post(message);
}

void PostQuitMessage(int exit_code) { Queue().PostQuit(exit_code); }

LResult SendMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  WindowTable::Entry entry;
  if (!WindowTable::Get().Find(window, &entry)) return 0;
  if (entry.queue == ThreadMessageQueue::Current()) {
    return entry.procedure(window, message, wparam, lparam);
  }
  return entry.queue->SendFromOtherThread(Message{window, message, wparam, lparam, TickCount(), {}});
}

LResult DispatchMessage(const Message& message) {
  WindowTable::Entry entry;
  if (message.window == 0 || !WindowTable::Get().Find(message.window, &entry)) return 0;
  return entry.procedure(message.window, message.message, message.wparam, message.lparam);
}

bool TranslateMessage(const Message&) { return false; }

LResult DefWindowProc(WindowHandle window, uint32_t message, WParam, LParam) {
  switch (message) {
    case kClose:
      DestroyWindow(window);
      return 0;
    case kPaint:
      ValidateRect(window, nullptr);
      return 0;
    default:
      return 0;
  }
}

bool PeekMessage(Message* message, WindowHandle window, uint32_t filter_min, uint32_t filter_max,
                 uint32_t remove_flags) {
  return Queue().Peek(message, window, filter_min, filter_max, (remove_flags & kPmRemove) != 0);
}

bool GetMessage(Message* message, WindowHandle window, uint32_t filter_min, uint32_t filter_max) {
  ThreadMessageQueue& queue = Queue();
  while (!queue.Peek(message, window, filter_min, filter_max, true)) {
    queue.Wait(kInfinite, kQsAllInput, 0);
  }
  return message->message != kQuit;
}

void WaitMessage() {
  ThreadMessageQueue& queue = Queue();
  queue.Wait(kInfinite, kQsAllInput, 0);
  queue.DispatchSentMessages();
}

uint32_t GetQueueStatus(uint32_t flags) { return Queue().Status(flags); }

WaitResult WaitForInput(uint32_t timeout_ms, uint32_t wake_mask, uint32_t flags) {
  return Queue().Wait(timeout_ms, wake_mask, flags);
}

uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t elapse_ms) {
  auto queue = WindowTable::Get().QueueOf(window);
  if (!queue) return 0;
  queue->SetTimer(window, id, elapse_ms);
  return id == 0 ? 1 : id;
}

bool KillTimer(WindowHandle window, uintptr_t id) {
  auto queue = WindowTable::Get().QueueOf(window);
  return queue && queue->KillTimer(window, id);
}

bool InvalidateRect(WindowHandle window, const Rect* rect) {
  WindowTable::Entry entry;
  if (!WindowTable::Get().Find(window, &entry)) return false;
  Rect area = rect ? *rect : Rect{0, 0, entry.client_size.cx, entry.client_size.cy};
  // A window whose size the display has not told yet is repainted whole.
  if (!rect && area.IsEmpty()) area = Rect{0, 0, 0x7FFF, 0x7FFF};
  entry.queue->Invalidate(window, area);
  return true;
}

bool ValidateRect(WindowHandle window, const Rect* rect) {
  auto queue = WindowTable::Get().QueueOf(window);
  if (!queue) return false;
  queue->Validate(window, rect);
  return true;
}

bool GetUpdateRect(WindowHandle window, Rect* rect) {
  auto queue = WindowTable::Get().QueueOf(window);
  if (!queue) {
    if (rect) *rect = Rect{};
    return false;
  }
  return queue->UpdateRect(window, rect);
}

int AddMessageHook(MessageHook hook) { return Queue().AddHook(std::move(hook)); }

bool RemoveMessageHook(int hook_id) { return Queue().RemoveHook(hook_id); }

bool CallMsgFilter(Message* message, int code) { return Queue().CallHooks(message, code); }

void RegisterNativeSource(int fd, NativeDrain drain, void* context) { Queue().SetNativeSource(fd, drain, context); }

}  // namespace platform
