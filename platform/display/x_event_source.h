#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "platform/display/native_window.h"
#include "platform/display/x_connection.h"
#include "platform/display/x_window.h"

// The windows of one UI thread and the translation of their X events into window
// messages. Registered with the thread's message queue as its native source, so
// the queue's wait watches the X connection and every look at the queue first
// drains the pending X events. Internal to platform/display.
namespace platform {

class XEventSource {
 public:
  // The calling thread's source; null without an X server.
  static XEventSource* ForCurrentThread();

  XConnection* connection() const { return connection_; }

  WindowHandle Create(WindowProcedure procedure, void* user_data, const NativeWindowParams& params);
  // The live window of this thread behind a handle; null otherwise. Windows whose
  // handles the queue has destroyed are released first.
  XWindow* Find(WindowHandle window);
  XWindow* FindByXid(::Window xid);

  bool Show(XWindow* w, int command);
  void Move(XWindow* w, const Rect& rect);
  WindowHandle SetFocus(XWindow* w);
  WindowHandle focus() const { return focus_; }
  WindowHandle SetCapture(XWindow* w);
  bool ReleaseCapture();
  WindowHandle capture() const { return capture_; }
  void SetCursor(PointerShape shape);
  void SetCursorForHit(XWindow* w, int hit);
  bool TrackMouse(XWindow* w, bool hover, bool leave, uint32_t hover_ms);
  bool CancelTracking(XWindow* w);
  bool Enable(XWindow* w, bool enable);

  // Moves every pending X event into the queue and flushes requests.
  void Drain();

 private:
  struct Tracking {
    bool hover = false;
    bool leave = false;
    uint32_t hover_ms = 400;
    uint64_t hover_deadline = 0;  // monotonic ms
    Point hover_origin;
  };
  struct Drag {
    WindowHandle window = 0;
    int hit = 0;
    Point start;  // root pixels
    Rect start_rect;
    MinMaxInfo limits{};
  };
  struct Click {
    WindowHandle window = 0;
    unsigned button = 0;
    Time time = 0;
    Point point;
  };

  XEventSource(XConnection* connection);
  static void DrainThunk(void* context);
  static LResult TimerProcedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);

  void ReleaseDestroyed();
  void HandleEvent(XEvent& ev);
  void HandleButton(XWindow* w, const XButtonEvent& ev, bool press);
  void HandleMotion(XWindow* w, const XMotionEvent& ev);
  void HandleKey(XWindow* w, XKeyEvent& ev, bool press);
  void HandleCrossing(XWindow* w, const XCrossingEvent& ev, bool enter);
  void HandleFocus(XWindow* w, const XFocusChangeEvent& ev, bool in);
  void HandleConfigure(XWindow* w);
  void HandleClientMessage(XWindow* w, const XClientMessageEvent& ev);
  void HandleStateProperty(XWindow* w);
  void SendSize(XWindow* w);
  void ChangeFocus(WindowHandle to);

  void StartDrag(XWindow* w, int hit, Point root, Time time);
  void ContinueDrag(Point root);
  void EndDrag(Time time);

  void PostMouse(XWindow* w, uint32_t message, WParam wparam, Point client, Point root, Time time);
  // The window that gets a mouse event seen on w: the capture window when one is set.
  XWindow* MouseTarget(XWindow* w, Point root, Point* client);
  void CheckHover();
  void ArmHoverTimer();
  void Leave(XWindow* w);
  MinMaxInfo QueryLimits(XWindow* w);

  XConnection* connection_;
  std::unordered_map<WindowHandle, std::unique_ptr<XWindow>> windows_;
  std::unordered_map<::Window, XWindow*> by_xid_;
  std::map<WindowHandle, Tracking> tracking_;
  std::set<unsigned> keys_down_;
  WindowHandle focus_ = 0;
  WindowHandle capture_ = 0;
  WindowHandle pointer_window_ = 0;  // the window under the pointer
  WindowHandle timer_window_ = 0;
  Point pointer_root_;
  Drag drag_;
  Click last_click_;
  bool draining_ = false;
  bool autorepeat_detectable_ = false;
};

}  // namespace platform
