#pragma once

// Top-level windows of the display layer. A window is a handle of the message
// queue (platform/messages) whose native side lives on the X server; its procedure
// receives the input, focus, size and paint messages of display_ids.h and
// message_ids.h, in the desktop system's numbers:
//
//   NativeWindowParams p;
//   p.rect = {100, 100, 728, 528};
//   p.layered = true;
//   WindowHandle w = CreateNativeWindow(&MyProc, this, p);  // kNcCreate, kCreate
//   ShowWindow(w, kSwShow);
//   ...in kPaint: UpdateLayeredWindow(w, pixels, stride, size, 255, nullptr);
//   DestroyWindow(w);                                        // from messages/
//
// The procedure should hand what it does not handle to DefDisplayProc, which adds
// the desktop's defaults (system commands, Alt+F4, hit test, cursor) to the queue's
// DefWindowProc. All functions run on the thread that created the window and answer
// false / 0 / an empty value for a handle that is not one of its windows, or when
// no X server can be reached.

#include <cstdint>
#include <string>

#include "platform/display/display_ids.h"
#include "platform/geometry.h"
#include "platform/messages/window_messages.h"

namespace platform {

struct NativeWindowParams {
  WindowHandle owner = 0;  // kept above its owner; no taskbar entry of its own
  std::string title;       // UTF-8
  Rect rect;               // screen pixels
  bool layered = false;    // contents come only from UpdateLayeredWindow, with per-pixel alpha
  bool double_clicks = false;  // report double clicks (class style 8)
  bool popup = false;      // no window-manager decoration or activation (tooltips)
};

// Limits answered by the procedure to kGetMinMaxInfo (lparam points at one).
struct MinMaxInfo {
  Point reserved;
  Size max_size;
  Point max_position;
  Size min_track_size;
  Size max_track_size;
};

struct MonitorDescription {
  Rect monitor;
  Rect work;
  bool primary = false;
};

enum class PointerShape { kArrow, kHand, kIBeam };

// kNcCreate then kCreate (lparam: the params) reach the procedure before this
// returns; kCreate answering -1 destroys the window and gives 0.
WindowHandle CreateNativeWindow(WindowProcedure procedure, void* user_data, const NativeWindowParams& params);
// The previous-procedure default for windows of this layer.
LResult DefDisplayProc(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);

bool ShowWindow(WindowHandle window, int show_command);
bool IsWindowVisible(WindowHandle window);
bool IsIconic(WindowHandle window);
bool IsZoomed(WindowHandle window);
// Moves and resizes in screen pixels (the whole window is client area).
bool MoveWindow(WindowHandle window, const Rect& rect);
bool GetWindowRect(WindowHandle window, Rect* rect);
bool GetClientRect(WindowHandle window, Rect* rect);
bool ClientToScreen(WindowHandle window, Point* point);
bool ScreenToClient(WindowHandle window, Point* point);
bool SetWindowText(WindowHandle window, const std::string& utf8_title);
std::string GetWindowText(WindowHandle window);
WindowHandle GetWindowOwner(WindowHandle window);

// A disabled window receives no mouse or keyboard input.
bool EnableWindow(WindowHandle window, bool enable);
bool IsWindowEnabled(WindowHandle window);

// Keyboard focus: kKillFocus to the old window, kSetFocus to the new one. Returns the
// previous focus window.
WindowHandle SetFocus(WindowHandle window);
WindowHandle GetFocus();
bool SetForegroundWindow(WindowHandle window);

// Mouse capture: all mouse messages go to the window, in its client coordinates,
// until ReleaseCapture; the window losing it gets kCaptureChanged.
WindowHandle SetCapture(WindowHandle window);
bool ReleaseCapture();
WindowHandle GetCapture();
bool GetCursorPos(Point* point);
// The pointer shape over the window under the pointer (or holding the capture).
void SetCursor(PointerShape shape);

// One kMouseHover after the pointer rests hover_ms within a few pixels, one
// kMouseLeave when it leaves the client area; each ends its tracking.
bool TrackMouseEvent(WindowHandle window, bool hover, bool leave, uint32_t hover_ms);
bool CancelMouseTracking(WindowHandle window);

// Window region: a rectangle with elliptic corners of size (cx, cy) in window
// coordinates, or no region at all (cx = cy = 0 and an empty rect).
bool SetWindowRoundRegion(WindowHandle window, const Rect& rect, int cx, int cy);
bool ClearWindowRegion(WindowHandle window);

// Shows a layered window's contents: premultiplied BGRA rows from the top (Cairo's
// ARGB32), the window's whole client size, constant alpha multiplied in. A window of
// another size is resized to it first. dirty (client coordinates) limits the copy.
bool UpdateLayeredWindow(WindowHandle window, const uint8_t* pixels, int stride, Size size, uint8_t alpha,
                         const Rect* dirty);
// Copies the rectangle of a BGRA image of the client size onto a plain window.
bool PaintWindowPixels(WindowHandle window, const uint8_t* pixels, int stride, Size size, const Rect& rect);

MonitorDescription MonitorFromWindow(WindowHandle window);
MonitorDescription PrimaryMonitor();
// Bounding rectangle of all monitors.
Rect VirtualScreenRect();
// Dots per inch of the display (Xft.dpi, 96 without it).
int DisplayDpi();

// Waits until the display server has handled every request made so far (after it,
// a layered update is on screen). False without a server.
bool FlushDisplay();

// The X window behind a handle (tests and screenshots); 0 when none.
unsigned long NativeWindowId(WindowHandle window);

}  // namespace platform
