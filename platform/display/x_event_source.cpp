#include "platform/display/x_event_source.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/display/key_map.h"

namespace platform {
namespace {

constexpr char kTimerClass[] = "LumoraDisplayTimers";
constexpr Time kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 2;  // half the double-click rectangle
constexpr int kHoverSlop = 2;        // half the hover rectangle

thread_local XEventSource* t_source = nullptr;

uint64_t NowMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

WParam KeyState(unsigned state) {
  WParam keys = 0;
  if (state & Button1Mask) keys |= kMkLButton;
  if (state & Button2Mask) keys |= kMkMButton;
  if (state & Button3Mask) keys |= kMkRButton;
  if (state & ShiftMask) keys |= kMkShift;
  if (state & ControlMask) keys |= kMkControl;
  return keys;
}

WParam ButtonFlag(unsigned button) {
  switch (button) {
    case 1: return kMkLButton;
    case 2: return kMkMButton;
    case 3: return kMkRButton;
    default: return 0;
  }
}

bool IsClientHit(LResult hit) { return hit == kHtClient || hit == kHtNowhere; }

// _NET_WM_MOVERESIZE directions for the border and caption hit-test results.
int MoveResizeDirection(int hit) {
  switch (hit) {
    case kHtTopLeft: return 0;
    case kHtTop: return 1;
    case kHtTopRight: return 2;
    case kHtRight: return 3;
    case kHtBottomRight: return 4;
    case kHtBottom: return 5;
    case kHtBottomLeft: return 6;
    case kHtLeft: return 7;
    case kHtCaption: return 8;
    default: return -1;
  }
}

CursorKind CursorForHit(int hit) {
  switch (hit) {
    case kHtLeft: case kHtRight: return CursorKind::kSizeWE;
    case kHtTop: case kHtBottom: return CursorKind::kSizeNS;
    case kHtTopLeft: case kHtBottomRight: return CursorKind::kSizeNWSE;
    case kHtTopRight: case kHtBottomLeft: return CursorKind::kSizeNESW;
    default: return CursorKind::kArrow;
  }
}

}  // namespace

XEventSource* XEventSource::ForCurrentThread() {
  if (t_source) return t_source;
  XConnection* connection = XConnection::ForCurrentThread();
  if (!connection) return nullptr;
  // Lives as long as the thread's queue may call its drain.
  t_source = new XEventSource(connection);
  return t_source;
}

XEventSource::XEventSource(XConnection* connection) : connection_(connection) {
  RegisterWindowClass(kTimerClass, &XEventSource::TimerProcedure);
  timer_window_ = CreateMessageWindow(kTimerClass, this);
  RegisterNativeSource(connection_->Fd(), &XEventSource::DrainThunk, this);
}

void XEventSource::DrainThunk(void* context) { static_cast<XEventSource*>(context)->Drain(); }

LResult XEventSource::TimerProcedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  if (message == kTimer && t_source) {
    KillTimer(window, wparam);
    t_source->CheckHover();
    return 0;
  }
  return DefWindowProc(window, message, wparam, lparam);
}

WindowHandle XEventSource::Create(WindowProcedure procedure, void* user_data, const NativeWindowParams& params) {
  const WindowHandle handle = RegisterWindow(procedure, user_data);
  if (!handle) return 0;
  XWindow* owner = params.owner ? Find(params.owner) : nullptr;
  auto window = std::make_unique<XWindow>(connection_, handle, params, owner ? owner->xid() : 0);
  XWindow* w = window.get();
  by_xid_[w->xid()] = w;
  windows_[handle] = std::move(window);
  SetWindowClientSize(handle, w->client_size());
  w->set_reported_size(w->client_size());
  NativeWindowParams copy = params;
  SendMessage(handle, kNcCreate, 0, reinterpret_cast<LParam>(&copy));
  if (SendMessage(handle, kCreate, 0, reinterpret_cast<LParam>(&copy)) == -1) {
    DestroyWindow(handle);
    ReleaseDestroyed();
    return 0;
  }
  return handle;
}

XWindow* XEventSource::Find(WindowHandle window) {
  auto it = windows_.find(window);
  if (it == windows_.end() || !IsWindow(window)) return nullptr;
  return it->second.get();
}

XWindow* XEventSource::FindByXid(::Window xid) {
  auto it = by_xid_.find(xid);
  if (it == by_xid_.end() || !IsWindow(it->second->handle())) return nullptr;
  return it->second;
}

void XEventSource::ReleaseDestroyed() {
  bool again = true;
  while (again) {
    again = false;
    std::vector<WindowHandle> gone;
    for (auto& [handle, w] : windows_) {
      if (!IsWindow(handle)) gone.push_back(handle);
    }
    for (WindowHandle handle : gone) {
      if (capture_ == handle) {
        XUngrabPointer(connection_->display(), CurrentTime);
        capture_ = 0;
      }
      if (drag_.window == handle) EndDrag(CurrentTime);
      if (focus_ == handle) focus_ = 0;
      if (pointer_window_ == handle) pointer_window_ = 0;
      tracking_.erase(handle);
      by_xid_.erase(windows_[handle]->xid());
      windows_.erase(handle);
    }
    // Owned windows go with their owner, as on the desktop system.
    std::vector<WindowHandle> orphans;
    for (auto& [handle, w] : windows_) {
      if (w->owner() && std::find(gone.begin(), gone.end(), w->owner()) != gone.end()) orphans.push_back(handle);
    }
    for (WindowHandle handle : orphans) {
      DestroyWindow(handle);
      again = true;
    }
  }
}

void XEventSource::Drain() {
  if (draining_) return;
  draining_ = true;
  ReleaseDestroyed();
  ::Display* d = connection_->display();
  while (XPending(d)) {
    XEvent ev;
    XNextEvent(d, &ev);
    if (XFilterEvent(&ev, None)) continue;
    HandleEvent(ev);
  }
  XFlush(d);
  draining_ = false;
}

void XEventSource::HandleEvent(XEvent& ev) {
  ::Display* d = connection_->display();
  XWindow* w = FindByXid(ev.xany.window);
  if (!w) return;
  switch (ev.type) {
    case KeyPress:
    case KeyRelease:
      connection_->set_last_time(ev.xkey.time);
      HandleKey(w, ev.xkey, ev.type == KeyPress);
      break;
    case ButtonPress:
    case ButtonRelease:
      connection_->set_last_time(ev.xbutton.time);
      HandleButton(w, ev.xbutton, ev.type == ButtonPress);
      break;
    case MotionNotify: {
      // Only the latest of a run of motions matters, as on the desktop system.
      while (XEventsQueued(d, QueuedAlready) > 0) {
        XEvent next;
        XPeekEvent(d, &next);
        if (next.type != MotionNotify || next.xmotion.window != ev.xmotion.window) break;
        XNextEvent(d, &ev);
      }
      connection_->set_last_time(ev.xmotion.time);
      HandleMotion(w, ev.xmotion);
      break;
    }
    case EnterNotify:
    case LeaveNotify:
      HandleCrossing(w, ev.xcrossing, ev.type == EnterNotify);
      break;
    case FocusIn:
    case FocusOut:
      HandleFocus(w, ev.xfocus, ev.type == FocusIn);
      break;
    case Expose: {
      const Rect r{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width, ev.xexpose.y + ev.xexpose.height};
      // A layered window's last contents are kept in shared memory when the
      // server offers it, so an expose does not need its procedure; otherwise the
      // window is asked to paint.
      if (!w->layered() || !w->Repaint(r)) InvalidateRect(w->handle(), &r);
      break;
    }
    case ConfigureNotify:
      if (ev.xconfigure.window == w->xid()) HandleConfigure(w);
      break;
    case MapNotify:
      if (w->focus_on_map()) {
        w->clear_focus_on_map();
        XSetInputFocus(d, w->xid(), RevertToParent, CurrentTime);
        ChangeFocus(w->handle());
      }
      break;
    case ClientMessage:
      HandleClientMessage(w, ev.xclient);
      break;
    case PropertyNotify:
      if (ev.xproperty.atom == connection_->atom("_NET_WM_STATE")) HandleStateProperty(w);
      break;
    default:
      break;
  }
}

XWindow* XEventSource::MouseTarget(XWindow* w, Point root, Point* client) {
  XWindow* target = w;
  if (capture_ && capture_ != w->handle()) {
    if (XWindow* c = Find(capture_)) target = c;
  }
  // Client coordinates from the root position and the window's known place; the
  // whole window is client area.
  *client = {root.x - target->rect().left, root.y - target->rect().top};
  return target;
}

void XEventSource::PostMouse(XWindow* w, uint32_t message, WParam wparam, Point client, Point root, Time) {
  Message m;
  m.window = w->handle();
  m.message = message;
  m.wparam = wparam;
  m.lparam = MakePointParam(client.x, client.y);
  m.time = TickCount();
  m.point = root;
  PostInputMessage(m);
}

void XEventSource::HandleButton(XWindow* w, const XButtonEvent& ev, bool press) {
  const Point root{ev.x_root, ev.y_root};
  pointer_root_ = root;
  if (drag_.window) {
    if (!press && ev.button == Button1) EndDrag(ev.time);
    return;
  }
  Point client;
  XWindow* t = MouseTarget(w, root, &client);
  if (t == w) client = {ev.x, ev.y};
  if (!t->enabled()) return;
  WParam keys = KeyState(ev.state);
  keys = press ? (keys | ButtonFlag(ev.button)) : (keys & ~ButtonFlag(ev.button));

  if (ev.button >= 4 && ev.button <= 7) {
    if (!press) return;
    const int delta = (ev.button == 4 || ev.button == 7) ? kWheelDelta : -kWheelDelta;
    // Wheel messages carry the screen point and the delta in the high word.
    Message m;
    m.window = t->handle();
    m.message = ev.button <= 5 ? kMouseWheel : kMouseHWheel;
    m.wparam = (static_cast<WParam>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16) | (keys & 0xFFFF);
    m.lparam = MakePointParam(root.x, root.y);
    m.time = TickCount();
    m.point = root;
    PostInputMessage(m);
    return;
  }
  if (ev.button > 3) return;

  const bool double_click = press && t->double_clicks() && last_click_.window == t->handle() &&
                            last_click_.button == ev.button && ev.time - last_click_.time <= kDoubleClickMs &&
                            std::abs(last_click_.point.x - root.x) <= kDoubleClickSlop &&
                            std::abs(last_click_.point.y - root.y) <= kDoubleClickSlop;
  if (press) {
    // A third click starts over rather than making another double click.
    last_click_ = double_click ? Click{} : Click{t->handle(), ev.button, ev.time, root};
  }

  if (!capture_) {
    const LResult hit = SendMessage(t->handle(), kNcHitTest, 0, MakePointParam(root.x, root.y));
    if (!IsClientHit(hit)) {
      if (ev.button != Button1) return;
      Message m;
      m.window = t->handle();
      m.message = !press ? kNcLButtonUp : (double_click ? kNcLButtonDoubleClick : kNcLButtonDown);
      m.wparam = static_cast<WParam>(hit);
      m.lparam = MakePointParam(root.x, root.y);
      m.time = TickCount();
      m.point = root;
      PostInputMessage(m);
      if (press && !double_click && MoveResizeDirection(static_cast<int>(hit)) >= 0) {
        StartDrag(t, static_cast<int>(hit), root, ev.time);
      }
      return;
    }
  }
  uint32_t message = 0;
  switch (ev.button) {
    case Button1: message = press ? (double_click ? kLButtonDoubleClick : kLButtonDown) : kLButtonUp; break;
    case Button2: message = press ? (double_click ? kMButtonDoubleClick : kMButtonDown) : kMButtonUp; break;
    default: message = press ? (double_click ? kRButtonDoubleClick : kRButtonDown) : kRButtonUp; break;
  }
  PostMouse(t, message, keys, client, root, ev.time);
}

void XEventSource::HandleMotion(XWindow* w, const XMotionEvent& ev) {
  const Point root{ev.x_root, ev.y_root};
  pointer_root_ = root;
  if (drag_.window) {
    ContinueDrag(root);
    return;
  }
  Point client;
  XWindow* t = MouseTarget(w, root, &client);
  if (t == w) client = {ev.x, ev.y};
  if (!t->enabled()) return;
  LResult hit = kHtClient;
  if (!capture_) {
    hit = SendMessage(t->handle(), kNcHitTest, 0, MakePointParam(root.x, root.y));
    SendMessage(t->handle(), kSetCursor, t->handle(),
                static_cast<LParam>((static_cast<uint32_t>(hit) & 0xFFFF) | (kMouseMove << 16)));
    if (!IsWindow(t->handle())) return;
  }
  auto tracked = tracking_.find(t->handle());
  if (!IsClientHit(hit)) {
    // Over the frame the client area has been left.
    if (tracked != tracking_.end() && tracked->second.leave) Leave(t);
    Message m;
    m.window = t->handle();
    m.message = kNcMouseMove;
    m.wparam = static_cast<WParam>(hit);
    m.lparam = MakePointParam(root.x, root.y);
    m.time = TickCount();
    m.point = root;
    PostInputMessage(m);
    return;
  }
  if (tracked != tracking_.end() && tracked->second.hover &&
      (std::abs(root.x - tracked->second.hover_origin.x) > kHoverSlop ||
       std::abs(root.y - tracked->second.hover_origin.y) > kHoverSlop)) {
    tracked->second.hover_origin = root;
    tracked->second.hover_deadline = NowMs() + tracked->second.hover_ms;
    ArmHoverTimer();
  }
  PostMouse(t, kMouseMove, KeyState(ev.state), client, root, ev.time);
}

void XEventSource::HandleCrossing(XWindow* w, const XCrossingEvent& ev, bool enter) {
  if (ev.mode == NotifyGrab) return;  // the pointer did not move
  if (enter) {
    pointer_window_ = w->handle();
    pointer_root_ = {ev.x_root, ev.y_root};
    return;
  }
  if (ev.detail == NotifyInferior) return;
  if (pointer_window_ == w->handle()) pointer_window_ = 0;
  auto tracked = tracking_.find(w->handle());
  if (tracked != tracking_.end() && tracked->second.leave && capture_ != w->handle()) Leave(w);
}

void XEventSource::Leave(XWindow* w) {
  tracking_.erase(w->handle());
  PostMessage(w->handle(), kMouseLeave, 0, 0);
  ArmHoverTimer();
}

void XEventSource::HandleKey(XWindow* w, XKeyEvent& ev, bool press) {
  ::Display* d = connection_->display();
  if (!autorepeat_detectable_) {
    // Held keys then repeat as presses only (no release in between); asked on
    // the first key rather than at start-up, as it costs a server round trip.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(d, True, &supported);
    autorepeat_detectable_ = true;
  }
  if (!w->enabled()) return;
  const KeySym keysym = XkbKeycodeToKeysym(d, static_cast<KeyCode>(ev.keycode), 0, 0);
  const uint32_t vk = KeysymToVirtualKey(keysym);
  const bool alt = (ev.state & Mod1Mask) != 0 || (press && vk == 0x12);
  const bool was_down = keys_down_.count(ev.keycode) != 0;
  if (press) {
    keys_down_.insert(ev.keycode);
  } else {
    keys_down_.erase(ev.keycode);
  }
  const uint32_t scan = (ev.keycode >= 8 ? ev.keycode - 8 : 0) & 0xFF;
  LParam info = 1 | (static_cast<LParam>(scan) << 16);
  if (alt) info |= 1L << 29;
  if (press && was_down) info |= 1L << 30;
  if (!press) info |= (1L << 30) | (1L << 31);
  if (vk) {
    Message m;
    m.window = w->handle();
    m.message = press ? (alt ? kSysKeyDown : kKeyDown) : (alt ? kSysKeyUp : kKeyUp);
    m.wparam = vk;
    m.lparam = info;
    m.time = TickCount();
    m.point = pointer_root_;
    PostInputMessage(m);
  }
  if (!press) return;

  std::string utf8;
  char buffer[64];
  KeySym typed = NoSymbol;
  // The first key press of a window opens its input context; that key itself is
  // looked up directly, the following ones go through the input method's filter.
  if (XIC ic = w->EnsureInputContext()) {
    Status status = 0;
    int n = Xutf8LookupString(ic, &ev, buffer, sizeof buffer, &typed, &status);
    if (status == XBufferOverflow) {
      std::string big(static_cast<size_t>(n), '\0');
      n = Xutf8LookupString(ic, &ev, big.data(), n, &typed, &status);
      utf8 = big.substr(0, static_cast<size_t>(std::max(0, n)));
    } else if (status == XLookupChars || status == XLookupBoth) {
      utf8.assign(buffer, static_cast<size_t>(std::max(0, n)));
    }
  } else {
    const int n = XLookupString(&ev, buffer, sizeof buffer, &typed, nullptr);
    const char32_t cp = KeysymToCodePoint(typed);
    if (cp) {
      std::u16string one;
      if (cp < 0x10000) one.push_back(static_cast<char16_t>(cp));
      utf8 = Utf16ToUtf8(one);
    } else if (n > 0 && static_cast<unsigned char>(buffer[0]) < 0x20) {
      utf8.push_back(buffer[0]);  // control characters such as Ctrl+A
    }
  }
  for (char16_t unit : Utf8ToUtf16(utf8)) {
    if (unit == 0x7F) continue;  // Delete types nothing
    Message m;
    m.window = w->handle();
    m.message = alt ? kSysChar : kChar;
    m.wparam = unit;
    m.lparam = info;
    m.time = TickCount();
    m.point = pointer_root_;
    PostInputMessage(m);
  }
}

void XEventSource::HandleFocus(XWindow* w, const XFocusChangeEvent& ev, bool in) {
  if (ev.mode == NotifyGrab || ev.mode == NotifyUngrab || ev.detail == NotifyPointer) return;
  if (in) {
    if (focus_ != w->handle()) ChangeFocus(w->handle());
  } else if (focus_ == w->handle() && ev.detail != NotifyInferior) {
    ChangeFocus(0);
  }
}

void XEventSource::ChangeFocus(WindowHandle to) {
  const WindowHandle old = focus_;
  if (old == to) return;
  focus_ = to;
  if (XWindow* o = Find(old)) {
    if (o->input_context()) XUnsetICFocus(o->input_context());
    SendMessage(old, kActivate, 0, static_cast<LParam>(to));
    SendMessage(old, kKillFocus, to, 0);
  }
  if (XWindow* n = Find(to)) {
    if (n->input_context()) XSetICFocus(n->input_context());
    SendMessage(to, kActivate, 1, static_cast<LParam>(old));
    SendMessage(to, kSetFocus, old, 0);
  }
}

WindowHandle XEventSource::SetFocus(XWindow* w) {
  const WindowHandle old = focus_;
  if (!w) {
    ChangeFocus(0);
    return old;
  }
  if (w->visible()) XSetInputFocus(connection_->display(), w->xid(), RevertToParent, CurrentTime);
  ChangeFocus(w->handle());
  return old;
}

void XEventSource::SendSize(XWindow* w) {
  const Size size = w->state() == ShowState::kMinimized ? Size{} : w->client_size();
  const WParam kind = w->state() == ShowState::kMinimized ? kSizeMinimized
                      : w->state() == ShowState::kMaximized ? kSizeMaximized
                                                           : kSizeRestored;
  w->set_reported_size(w->client_size());
  SetWindowClientSize(w->handle(), w->client_size());
  SendMessage(w->handle(), kSize, kind,
              static_cast<LParam>(static_cast<uint32_t>(size.cx & 0xFFFF) | (static_cast<uint32_t>(size.cy & 0xFFFF) << 16)));
}

void XEventSource::HandleConfigure(XWindow* w) {
  const Rect r = w->QueryScreenRect();
  const Rect old = w->rect();
  w->set_rect(r);
  if (r.left != old.left || r.top != old.top) {
    PostMessage(w->handle(), kMove, 0, MakePointParam(r.left, r.top));
  }
  if (Size{r.Width(), r.Height()} != w->reported_size()) {
    SetWindowClientSize(w->handle(), w->client_size());
    w->set_reported_size(w->client_size());
    const WParam kind = w->state() == ShowState::kMaximized ? kSizeMaximized : kSizeRestored;
    PostMessage(w->handle(), kSize, kind,
                static_cast<LParam>(static_cast<uint32_t>(r.Width() & 0xFFFF) |
                                    (static_cast<uint32_t>(r.Height() & 0xFFFF) << 16)));
    if (!w->layered()) InvalidateRect(w->handle(), nullptr);
  }
}

void XEventSource::HandleClientMessage(XWindow* w, const XClientMessageEvent& ev) {
  if (ev.message_type != connection_->atom("WM_PROTOCOLS")) return;
  const Atom protocol = static_cast<Atom>(ev.data.l[0]);
  if (protocol == connection_->atom("WM_DELETE_WINDOW")) {
    // A disabled window (under a modal dialog) cannot be closed from its frame.
    if (w->enabled()) PostMessage(w->handle(), kClose, 0, 0);
  } else if (protocol == connection_->atom("_NET_WM_PING")) {
    XClientMessageEvent reply = ev;
    reply.window = connection_->root();
    XSendEvent(connection_->display(), connection_->root(), False, SubstructureNotifyMask | SubstructureRedirectMask,
               reinterpret_cast<XEvent*>(&reply));
  }
}

void XEventSource::HandleStateProperty(XWindow* w) {
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  bool hidden = false;
  if (XGetWindowProperty(connection_->display(), w->xid(), connection_->atom("_NET_WM_STATE"), 0, 64, False, XA_ATOM,
                         &type, &format, &items, &after, &data) == Success && data) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    const Atom hidden_atom = connection_->atom("_NET_WM_STATE_HIDDEN");
    for (unsigned long i = 0; i < items; ++i) hidden = hidden || atoms[i] == hidden_atom;
  }
  if (data) XFree(data);
  if (hidden && w->state() != ShowState::kMinimized) {
    w->set_state(ShowState::kMinimized);
    SendSize(w);
  } else if (!hidden && w->state() == ShowState::kMinimized) {
    w->set_state(ShowState::kNormal);
    SendSize(w);
  }
}

MinMaxInfo XEventSource::QueryLimits(XWindow* w) {
  const MonitorInfo m = connection_->MonitorFromRect(w->rect());
  const Rect screen = connection_->VirtualScreen();
  MinMaxInfo info{};
  info.max_size = {m.work.Width(), m.work.Height()};
  info.max_position = {m.work.left - m.monitor.left, m.work.top - m.monitor.top};
  info.min_track_size = {1, 1};
  info.max_track_size = {screen.Width() + 24, screen.Height() + 24};
  SendMessage(w->handle(), kGetMinMaxInfo, 0, reinterpret_cast<LParam>(&info));
  return info;
}

bool XEventSource::Show(XWindow* w, int command) {
  const bool was_visible = w->visible();
  const WindowHandle h = w->handle();
  switch (command) {
    case kSwHide:
      if (!was_visible) break;
      w->Unmap();
      SendMessage(h, kShowWindow, 0, 0);
      break;
    case kSwMinimize:
    case kSwShowMinimized:
      if (w->state() == ShowState::kMinimized) break;
      if (w->state() == ShowState::kNormal) w->set_normal_rect(w->rect());
      w->set_state(ShowState::kMinimized);
      if (connection_->HasMoveResizeManager()) {
        if (!was_visible) w->Map(false);
        XIconifyWindow(connection_->display(), w->xid(), connection_->screen());
      } else {
        w->Unmap();
      }
      SendSize(w);
      break;
    case kSwShowMaximized: {
      if (w->state() == ShowState::kNormal) w->set_normal_rect(w->rect());
      const MinMaxInfo info = QueryLimits(w);
      const MonitorInfo m = connection_->MonitorFromRect(w->normal_rect());
      w->set_state(ShowState::kMaximized);
      if (!was_visible || !w->visible()) {
        SendMessage(h, kShowWindow, 1, 0);
      }
      w->Map(true);
      const Rect r{m.monitor.left + info.max_position.x, m.monitor.top + info.max_position.y,
                   m.monitor.left + info.max_position.x + info.max_size.cx,
                   m.monitor.top + info.max_position.y + info.max_size.cy};
      w->MoveResize(r);
      SendSize(w);
      break;
    }
    case kSwShowNormal:
    case kSwRestore: {
      const ShowState before = w->state();
      if (!was_visible) SendMessage(h, kShowWindow, 1, 0);
      w->Map(true);
      if (before != ShowState::kNormal) {
        w->set_state(ShowState::kNormal);
        if (before == ShowState::kMaximized) w->MoveResize(w->normal_rect());
        SendSize(w);
      }
      break;
    }
    case kSwShowNoActivate:
    case kSwShowNa:
      if (!was_visible) SendMessage(h, kShowWindow, 1, 0);
      w->Map(false);
      break;
    default:  // kSwShow and anything else that shows
      if (!was_visible) SendMessage(h, kShowWindow, 1, 0);
      w->Map(true);
      break;
  }
  if (!was_visible && w->visible() && !w->popup() && connection_->HasMoveResizeManager()) {
    // A window manager resizes by itself: tell it the procedure's limits.
    const MinMaxInfo limits = QueryLimits(w);
    w->SetSizeHints(&limits);
  }
  XFlush(connection_->display());
  return was_visible;
}

void XEventSource::Move(XWindow* w, const Rect& rect) {
  const Rect old = w->rect();
  w->MoveResize(rect);
  w->SetSizeHints(nullptr);
  XFlush(connection_->display());
  if (rect.left != old.left || rect.top != old.top) SendMessage(w->handle(), kMove, 0, MakePointParam(rect.left, rect.top));
  if (Size{rect.Width(), rect.Height()} != w->reported_size()) SendSize(w);
}

WindowHandle XEventSource::SetCapture(XWindow* w) {
  const WindowHandle old = capture_;
  if (old == w->handle()) return old;
  capture_ = w->handle();
  if (old) SendMessage(old, kCaptureChanged, 0, static_cast<LParam>(capture_));
  XGrabPointer(connection_->display(), w->xid(), False,
               ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  XFlush(connection_->display());
  return old;
}

bool XEventSource::ReleaseCapture() {
  const WindowHandle old = capture_;
  if (!old) return true;
  capture_ = 0;
  XUngrabPointer(connection_->display(), CurrentTime);
  // Synchronous like the grab itself, so a click right after goes where it points.
  XSync(connection_->display(), False);
  SendMessage(old, kCaptureChanged, 0, 0);
  return true;
}

void XEventSource::SetCursor(PointerShape shape) {
  XWindow* w = Find(capture_ ? capture_ : pointer_window_);
  if (!w) return;
  const CursorKind kind = shape == PointerShape::kHand    ? CursorKind::kHand
                          : shape == PointerShape::kIBeam ? CursorKind::kIBeam
                                                         : CursorKind::kArrow;
  w->SetCursor(connection_->cursor(kind));
}

void XEventSource::SetCursorForHit(XWindow* w, int hit) { w->SetCursor(connection_->cursor(CursorForHit(hit))); }

bool XEventSource::TrackMouse(XWindow* w, bool hover, bool leave, uint32_t hover_ms) {
  const WindowHandle h = w->handle();
  const bool inside = pointer_window_ == h || capture_ == h;
  if (leave && !inside) {
    // Asked to report a leave while the pointer is already elsewhere: report it now.
    tracking_.erase(h);
    PostMessage(h, kMouseLeave, 0, 0);
    return true;
  }
  Tracking& t = tracking_[h];
  t.leave = t.leave || leave;
  if (hover) {
    t.hover = true;
    t.hover_ms = hover_ms ? hover_ms : 400;
    t.hover_origin = pointer_root_;
    t.hover_deadline = NowMs() + t.hover_ms;
  }
  ArmHoverTimer();
  return true;
}

bool XEventSource::CancelTracking(XWindow* w) {
  tracking_.erase(w->handle());
  ArmHoverTimer();
  return true;
}

void XEventSource::CheckHover() {
  const uint64_t now = NowMs();
  std::vector<WindowHandle> due;
  for (auto& [h, t] : tracking_) {
    if (t.hover && t.hover_deadline <= now) due.push_back(h);
  }
  for (WindowHandle h : due) {
    Tracking& t = tracking_[h];
    t.hover = false;
    if (!t.leave) tracking_.erase(h);
    XWindow* w = Find(h);
    if (!w || (pointer_window_ != h && capture_ != h)) continue;
    PostMessage(h, kMouseHover, 0, MakePointParam(pointer_root_.x - w->rect().left, pointer_root_.y - w->rect().top));
  }
  ArmHoverTimer();
}

void XEventSource::ArmHoverTimer() {
  uint64_t earliest = 0;
  for (auto& [h, t] : tracking_) {
    if (t.hover && (earliest == 0 || t.hover_deadline < earliest)) earliest = t.hover_deadline;
  }
  if (!earliest) {
    KillTimer(timer_window_, 1);
    return;
  }
  const uint64_t now = NowMs();
  SetTimer(timer_window_, 1, static_cast<uint32_t>(earliest > now ? earliest - now : 1));
}

bool XEventSource::Enable(XWindow* w, bool enable) {
  if (w->enabled() == enable) return true;
  w->set_enabled(enable);
  if (!enable) {
    if (capture_ == w->handle()) ReleaseCapture();
    if (drag_.window == w->handle()) EndDrag(CurrentTime);
  }
  SendMessage(w->handle(), kEnable, enable ? 1 : 0, 0);
  return true;
}

void XEventSource::StartDrag(XWindow* w, int hit, Point root, Time time) {
  ::Display* d = connection_->display();
  if (connection_->HasMoveResizeManager()) {
    // The window manager runs the move or resize; it needs the implicit grab released.
    XUngrabPointer(d, time);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w->xid();
    ev.xclient.message_type = connection_->atom("_NET_WM_MOVERESIZE");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = root.x;
    ev.xclient.data.l[1] = root.y;
    ev.xclient.data.l[2] = MoveResizeDirection(hit);
    ev.xclient.data.l[3] = Button1;
    ev.xclient.data.l[4] = 1;  // source: an application
    XSendEvent(d, connection_->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(d);
    return;
  }
  drag_.window = w->handle();
  drag_.hit = hit;
  drag_.start = root;
  drag_.start_rect = w->rect();
  drag_.limits = QueryLimits(w);
  XGrabPointer(d, w->xid(), False, ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
               connection_->cursor(hit == kHtCaption ? CursorKind::kSizeAll : CursorForHit(hit)), time);
  XFlush(d);
}

void XEventSource::ContinueDrag(Point root) {
  XWindow* w = Find(drag_.window);
  if (!w) {
    EndDrag(CurrentTime);
    return;
  }
  const int dx = root.x - drag_.start.x;
  const int dy = root.y - drag_.start.y;
  Rect r = drag_.start_rect;
  if (drag_.hit == kHtCaption) {
    r.Offset(dx, dy);
    Move(w, r);
    return;
  }
  const int h = drag_.hit;
  const bool left = h == kHtLeft || h == kHtTopLeft || h == kHtBottomLeft;
  const bool right = h == kHtRight || h == kHtTopRight || h == kHtBottomRight;
  const bool top = h == kHtTop || h == kHtTopLeft || h == kHtTopRight;
  const bool bottom = h == kHtBottom || h == kHtBottomLeft || h == kHtBottomRight;
  const MinMaxInfo& lim = drag_.limits;
  auto clamp = [](int v, int lo, int hi) { return std::max(lo, hi > 0 ? std::min(v, hi) : v); };
  if (left) r.left = r.right - clamp(r.Width() - dx, std::max(1, lim.min_track_size.cx), lim.max_track_size.cx);
  if (right) r.right = r.left + clamp(r.Width() + dx, std::max(1, lim.min_track_size.cx), lim.max_track_size.cx);
  if (top) r.top = r.bottom - clamp(r.Height() - dy, std::max(1, lim.min_track_size.cy), lim.max_track_size.cy);
  if (bottom) r.bottom = r.top + clamp(r.Height() + dy, std::max(1, lim.min_track_size.cy), lim.max_track_size.cy);
  Move(w, r);
}

void XEventSource::EndDrag(Time time) {
  if (!drag_.window) return;
  drag_ = Drag{};
  XUngrabPointer(connection_->display(), time);
  XFlush(connection_->display());
}

}  // namespace platform
