#pragma once

// The per-thread window-message queue.
//
//   RegisterWindowClass("MyHidden", &MyProc);            // once per process
//   WindowHandle w = CreateMessageWindow("MyHidden", this); // owned by this thread
//   PostMessage(w, kUser + 1, 0, 0);                     // any thread; wakes the owner
//   SetTimer(w, 7, 10);                                  // kTimer with wparam 7 every 10 ms
//   Message m;
//   while (GetMessage(&m, 0, 0, 0)) DispatchMessage(m);  // ends on PostQuitMessage
//   DestroyWindow(w);                                    // kDestroy, kNcDestroy, then gone
// A display backend registers its connection once per thread with
// RegisterNativeSource(fd, drain, ctx): the queue polls fd with its own wake-up and
// calls drain(ctx), which moves pending native events in with PostMessage.
// Top-level windows come from RegisterWindow(procedure, user_data).

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/geometry.h"
#include "platform/messages/message_ids.h"

namespace platform {

// Small ids, never reused while the process runs; 0 is no window.
using WindowHandle = uint32_t;
using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;

struct Message {
  WindowHandle window = 0;  // 0 for thread messages (kQuit)
  uint32_t message = kNull;
  WParam wparam = 0;
  LParam lparam = 0;
  uint32_t time = 0;  // TickCount() when the message was queued
  Point point;        // pointer position in screen pixels, when the poster knew it
};

using WindowProcedure = LResult (*)(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);

// --- Windows. Every window belongs to the thread that created it; its procedure
// only ever runs on that thread. Functions taking a handle answer false/0/null for
// a handle that is not (or no longer) a window.

// False when the name is taken (the first registration stays).
bool RegisterWindowClass(std::string_view class_name, WindowProcedure procedure);
bool UnregisterWindowClass(std::string_view class_name);
// A message-only window of a registered class: never shown, receives posted and sent
// messages, timers and nothing else. 0 when the class is unknown.
WindowHandle CreateMessageWindow(std::string_view class_name, void* user_data);
// A window whose native side the display layer owns; the queue only routes its messages.
WindowHandle RegisterWindow(WindowProcedure procedure, void* user_data);
// On the owner thread: sends kDestroy then kNcDestroy, then drops the window's
// queued messages, timers and update region. False from another thread.
bool DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);
bool IsWindowOnCurrentThread(WindowHandle window);
void* GetWindowUserData(WindowHandle window);
void SetWindowUserData(WindowHandle window, void* user_data);
// Replaces the procedure and returns the previous one (null for a bad handle).
WindowProcedure SetWindowProcedure(WindowHandle window, WindowProcedure procedure);
// Client size used by InvalidateRect(window, nullptr); the display layer keeps it current.
void SetWindowClientSize(WindowHandle window, Size size);

// --- Posting and sending.

// Any thread. Queues the message for the window's thread and wakes it. False when
// the window is gone.
bool PostMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
// As PostMessage, with the time and pointer position of a native input event.
bool PostInputMessage(const Message& message);
// Calling thread: kQuit (wparam = exit code) is returned once no posted message remains.
void PostQuitMessage(int exit_code);
// On the owner thread the procedure is called directly. From another thread the
// caller blocks until the owner handles it inside its next PeekMessage, GetMessage
// or WaitMessage. 0 when the window is gone or its thread ends first.
LResult SendMessage(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
// Calls the window's procedure; 0 for thread messages and bad handles.
LResult DispatchMessage(const Message& message);
// Characters arrive as kChar from the display layer, so there is nothing to
// translate; kept for the shape of the loops. Always false.
bool TranslateMessage(const Message& message);
// kClose destroys the window; kPaint validates the update region; everything else 0.
LResult DefWindowProc(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);

// --- Retrieving (calling thread's queue). Order: sent messages are handled first,
// then posted and input messages in arrival order, then kQuit, then kPaint for a
// window with an update region, then kTimer for a due timer.
// window 0 matches every window and thread message; filter_min = filter_max = 0
// matches every message.
bool PeekMessage(Message* message, WindowHandle window, uint32_t filter_min, uint32_t filter_max,
                 uint32_t remove_flags);
// Blocks; false when the message taken is kQuit.
bool GetMessage(Message* message, WindowHandle window, uint32_t filter_min, uint32_t filter_max);
// Blocks until a message arrives that no PeekMessage/GetMessage has seen yet.
void WaitMessage();
// High word: kinds of message now queued; low word: kinds arrived since the last
// GetQueueStatus, PeekMessage or GetMessage. Only bits in flags are reported.
uint32_t GetQueueStatus(uint32_t flags);

enum class WaitResult { kInput, kTimeout };
// Waits up to timeout_ms (kInfinite: no limit) for a message matching wake_mask
// (kQs* bits) that arrived since the last look at the queue; with
// kWaitInputAvailable in flags also returns at once for one already queued.
WaitResult WaitForInput(uint32_t timeout_ms, uint32_t wake_mask, uint32_t flags);

// --- Timers, kept as deadlines by the owner's queue. A due timer yields one kTimer
// (wparam = id, lparam = 0) at a time and restarts its period when that is taken.
// Setting an existing id restarts it with the new period. 0 / false for bad handles.
uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t elapse_ms);
bool KillTimer(WindowHandle window, uintptr_t id);

// --- Painting. kPaint is synthesised while a window's update region is not empty
// and nothing else is queued; the handler (or DefWindowProc) validates it.
// rect null means the whole client area.
bool InvalidateRect(WindowHandle window, const Rect* rect);
bool ValidateRect(WindowHandle window, const Rect* rect);
// False (and an empty rect) when nothing needs painting.
bool GetUpdateRect(WindowHandle window, Rect* rect);

// --- Message hooks of the calling thread (the message-filter hook chain).
// A hook returns true when it consumed the message.
using MessageHook = std::function<bool(int code, Message& message)>;
// Returns an id for RemoveMessageHook; the newest hook is asked first.
int AddMessageHook(MessageHook hook);
bool RemoveMessageHook(int hook_id);
// Offers the message to the calling thread's hooks; true when one consumed it.
bool CallMsgFilter(Message* message, int code);

// --- Native event source of the calling thread (one per thread; fd -1 removes it).
// drain(context) runs on this thread before every look at the queue and whenever fd
// becomes readable during a wait; it must move every pending native event into the
// queue (PostMessage/PostInputMessage) and flush native output, so nothing is left
// buffered when the queue then blocks in poll(). It must be cheap when nothing is
// pending.
using NativeDrain = void (*)(void* context);
void RegisterNativeSource(int fd, NativeDrain drain, void* context);

}  // namespace platform
