#include "platform/display/native_window.h"

#include <X11/Xlib.h>

#include <cmath>
#include <vector>

#include "platform/display/x_event_source.h"

namespace platform {
namespace {

XWindow* Lookup(WindowHandle window) {
  XEventSource* source = XEventSource::ForCurrentThread();
  return source ? source->Find(window) : nullptr;
}

MonitorDescription Describe(const MonitorInfo& m) { return {m.monitor, m.work, m.primary}; }

}  // namespace

WindowHandle CreateNativeWindow(WindowProcedure procedure, void* user_data, const NativeWindowParams& params) {
  XEventSource* source = XEventSource::ForCurrentThread();
  if (!source || !procedure) return 0;
  return source->Create(procedure, user_data, params);
}

LResult DefDisplayProc(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case kNcHitTest:
      return kHtClient;
    case kSetCursor: {
      if (XWindow* w = Lookup(window)) {
        XEventSource::ForCurrentThread()->SetCursorForHit(w, static_cast<int>(lparam & 0xFFFF));
        return 1;
      }
      return 0;
    }
    case kSysKeyDown:
      if (wparam == kVkF4) PostMessage(window, kSysCommand, kScClose, 0);
      return 0;
    case kSysCommand:
      switch (wparam & 0xFFF0) {
        case kScClose: SendMessage(window, kClose, 0, 0); return 0;
        case kScMinimize: ShowWindow(window, kSwMinimize); return 0;
        case kScMaximize: ShowWindow(window, kSwShowMaximized); return 0;
        case kScRestore: ShowWindow(window, kSwRestore); return 0;
        default: return 0;
      }
    case kNcCalcSize:
    case kNcPaint:
    case kGetMinMaxInfo:
      return 0;
    default:
      return DefWindowProc(window, message, wparam, lparam);
  }
}

bool ShowWindow(WindowHandle window, int show_command) {
  XWindow* w = Lookup(window);
  return w && XEventSource::ForCurrentThread()->Show(w, show_command);
}

bool IsWindowVisible(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w && w->visible();
}

bool IsIconic(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w && w->state() == ShowState::kMinimized;
}

bool IsZoomed(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w && w->state() == ShowState::kMaximized;
}

bool MoveWindow(WindowHandle window, const Rect& rect) {
  XWindow* w = Lookup(window);
  if (!w || rect.Width() <= 0 || rect.Height() <= 0) return false;
  XEventSource::ForCurrentThread()->Move(w, rect);
  return true;
}

bool GetWindowRect(WindowHandle window, Rect* rect) {
  XWindow* w = Lookup(window);
  if (!w || !rect) return false;
  *rect = w->rect();
  return true;
}

bool GetClientRect(WindowHandle window, Rect* rect) {
  XWindow* w = Lookup(window);
  if (!w || !rect) return false;
  *rect = {0, 0, w->rect().Width(), w->rect().Height()};
  return true;
}

bool ClientToScreen(WindowHandle window, Point* point) {
  XWindow* w = Lookup(window);
  if (!w || !point) return false;
  point->x += w->rect().left;
  point->y += w->rect().top;
  return true;
}

bool ScreenToClient(WindowHandle window, Point* point) {
  XWindow* w = Lookup(window);
  if (!w || !point) return false;
  point->x -= w->rect().left;
  point->y -= w->rect().top;
  return true;
}

bool SetWindowText(WindowHandle window, const std::string& utf8_title) {
  XWindow* w = Lookup(window);
  if (!w) return false;
  w->SetTitle(utf8_title);
  return true;
}

std::string GetWindowText(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w ? w->title() : std::string();
}

WindowHandle GetWindowOwner(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w ? w->owner() : 0;
}

bool EnableWindow(WindowHandle window, bool enable) {
  XWindow* w = Lookup(window);
  return w && XEventSource::ForCurrentThread()->Enable(w, enable);
}

bool IsWindowEnabled(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w && w->enabled();
}

WindowHandle SetFocus(WindowHandle window) {
  XEventSource* source = XEventSource::ForCurrentThread();
  if (!source) return 0;
  XWindow* w = window ? source->Find(window) : nullptr;
  if (window && !w) return 0;
  return source->SetFocus(w);
}

WindowHandle GetFocus() {
  XEventSource* source = XEventSource::ForCurrentThread();
  return source ? source->focus() : 0;
}

bool SetForegroundWindow(WindowHandle window) {
  XWindow* w = Lookup(window);
  if (!w) return false;
  XConnection* c = XEventSource::ForCurrentThread()->connection();
  XRaiseWindow(c->display(), w->xid());
  if (c->HasMoveResizeManager()) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w->xid();
    ev.xclient.message_type = c->atom("_NET_ACTIVE_WINDOW");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;
    ev.xclient.data.l[1] = static_cast<long>(c->last_time());
    XSendEvent(c->display(), c->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  }
  XEventSource::ForCurrentThread()->SetFocus(w);
  return true;
}

WindowHandle SetCapture(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w ? XEventSource::ForCurrentThread()->SetCapture(w) : 0;
}

bool ReleaseCapture() {
  XEventSource* source = XEventSource::ForCurrentThread();
  return source && source->ReleaseCapture();
}

WindowHandle GetCapture() {
  XEventSource* source = XEventSource::ForCurrentThread();
  return source ? source->capture() : 0;
}

bool GetCursorPos(Point* point) {
  XEventSource* source = XEventSource::ForCurrentThread();
  if (!source || !point) return false;
  XConnection* c = source->connection();
  ::Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  if (!XQueryPointer(c->display(), c->root(), &root, &child, &rx, &ry, &wx, &wy, &mask)) return false;
  *point = {rx, ry};
  return true;
}

void SetCursor(PointerShape shape) {
  if (XEventSource* source = XEventSource::ForCurrentThread()) source->SetCursor(shape);
}

bool TrackMouseEvent(WindowHandle window, bool hover, bool leave, uint32_t hover_ms) {
  XWindow* w = Lookup(window);
  return w && XEventSource::ForCurrentThread()->TrackMouse(w, hover, leave, hover_ms);
}

bool CancelMouseTracking(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w && XEventSource::ForCurrentThread()->CancelTracking(w);
}

bool SetWindowRoundRegion(WindowHandle window, const Rect& rect, int cx, int cy) {
  XWindow* w = Lookup(window);
  if (!w) return false;
  std::vector<XRectangle> rows;
  const Rect bounds = rect.Intersect({0, 0, w->rect().Width(), w->rect().Height()});
  if (bounds.IsEmpty()) {
    w->SetRegion({});
    return true;
  }
  // Each row of the rectangle, pulled in at the corners along ellipses of size (cx, cy).
  const double a = std::max(0, cx) / 2.0;
  const double b = std::max(0, cy) / 2.0;
  for (int y = bounds.top; y < bounds.bottom; ++y) {
    int inset = 0;
    if (a > 0 && b > 0) {
      const double from_top = y - rect.top + 0.5;
      const double from_bottom = rect.bottom - y - 0.5;
      const double d = std::min(from_top, from_bottom);
      if (d < b) {
        const double t = (b - d) / b;
        inset = static_cast<int>(std::lround(a - a * std::sqrt(std::max(0.0, 1.0 - t * t))));
      }
    }
    const int left = std::max(bounds.left, rect.left + inset);
    const int right = std::min(bounds.right, rect.right - inset);
    if (right > left) {
      rows.push_back({static_cast<short>(left), static_cast<short>(y), static_cast<unsigned short>(right - left), 1});
    }
  }
  w->SetRegion(std::move(rows));
  return true;
}

bool ClearWindowRegion(WindowHandle window) {
  XWindow* w = Lookup(window);
  if (!w) return false;
  w->SetRegion({});
  return true;
}

bool UpdateLayeredWindow(WindowHandle window, const uint8_t* pixels, int stride, Size size, uint8_t alpha,
                         const Rect* dirty) {
  XWindow* w = Lookup(window);
  if (!w || !w->layered() || size.cx <= 0 || size.cy <= 0) return false;
  if (size != w->client_size()) {
    const Rect r = w->rect();
    XEventSource::ForCurrentThread()->Move(w, {r.left, r.top, r.left + size.cx, r.top + size.cy});
  }
  return w->Put(pixels, stride, size, dirty ? *dirty : Rect{0, 0, size.cx, size.cy}, alpha);
}

bool PaintWindowPixels(WindowHandle window, const uint8_t* pixels, int stride, Size size, const Rect& rect) {
  XWindow* w = Lookup(window);
  return w && w->Put(pixels, stride, size, rect, 0xFF);
}

MonitorDescription MonitorFromWindow(WindowHandle window) {
  XEventSource* source = XEventSource::ForCurrentThread();
  if (!source) return {};
  XWindow* w = source->Find(window);
  const Rect r = w ? w->rect() : Rect{};
  return Describe(source->connection()->MonitorFromRect(r));
}

MonitorDescription PrimaryMonitor() {
  XConnection* c = XConnection::ForCurrentThread();
  if (!c) return {};
  for (const MonitorInfo& m : c->Monitors()) {
    if (m.primary) return Describe(m);
  }
  return {};
}

Rect VirtualScreenRect() {
  XConnection* c = XConnection::ForCurrentThread();
  return c ? c->VirtualScreen() : Rect{};
}

int DisplayDpi() {
  XConnection* c = XConnection::ForCurrentThread();
  return c ? c->Dpi() : 96;
}

bool FlushDisplay() {
  XConnection* c = XConnection::ForCurrentThread();
  if (!c) return false;
  XSync(c->display(), False);
  return true;
}

unsigned long NativeWindowId(WindowHandle window) {
  XWindow* w = Lookup(window);
  return w ? w->xid() : 0;
}

}  // namespace platform
