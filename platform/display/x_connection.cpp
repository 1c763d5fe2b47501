#include "platform/display/x_connection.h"

#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

thread_local std::unique_ptr<XConnection> t_connection;

}  // namespace

XConnection* XConnection::ForCurrentThread() {
  if (!t_connection) {
    // Characters from the input method come as UTF-8 only in a UTF-8 locale;
    // ask for the user's, and fall back to C.UTF-8 when it is plain C.
    const char* ctype = std::setlocale(LC_CTYPE, "");
    if (!ctype || std::string(ctype) == "C" || std::string(ctype) == "POSIX") {
      std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    XSetLocaleModifiers("");
    ::Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    t_connection.reset(new XConnection(display));
  }
  return t_connection.get();
}

void XConnection::CloseForCurrentThread() { t_connection.reset(); }

XConnection::XConnection(::Display* display) : display_(display) {
  screen_ = DefaultScreen(display_);
  root_ = RootWindow(display_, screen_);
  XVisualInfo tmpl{};
  tmpl.screen = screen_;
  tmpl.depth = 32;
  tmpl.c_class = TrueColor;
  int count = 0;
  XVisualInfo* infos = XGetVisualInfo(display_, VisualScreenMask | VisualDepthMask | VisualClassMask, &tmpl, &count);
  for (int i = 0; i < count; ++i) {
    // BGRA bytes in memory: red in bits 16-23, blue in bits 0-7, alpha on top.
    if (infos[i].red_mask == 0xFF0000 && infos[i].green_mask == 0xFF00 && infos[i].blue_mask == 0xFF) {
      argb_visual_ = infos[i].visual;
      break;
    }
  }
  if (infos) XFree(infos);
  if (argb_visual_) argb_colormap_ = XCreateColormap(display_, root_, argb_visual_, AllocNone);
  int event_base = 0, error_base = 0;
  has_shape_ = XShapeQueryExtension(display_, &event_base, &error_base);
  // Shared memory only works when client and server share the machine.
  const char* name = DisplayString(display_);
  has_shm_ = XShmQueryExtension(display_) && name && name[0] == ':' && !std::getenv("LUMORA_NO_SHM");

  // Every atom a window needs, in one round trip rather than one each.
  const std::string compositor = "_NET_WM_CM_S" + std::to_string(screen_);
  const char* const names[] = {
      "UTF8_STRING", "WM_DELETE_WINDOW", "WM_PROTOCOLS", "_MOTIF_WM_HINTS", "_NET_WM_NAME", "_NET_WM_PID",
      "_NET_WM_PING", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN", "_NET_WM_USER_TIME", "_NET_WM_WINDOW_TYPE",
      "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WORKAREA",
      compositor.c_str()};
  constexpr int kCount = sizeof names / sizeof names[0];
  Atom values[kCount] = {};
  if (XInternAtoms(display_, const_cast<char**>(names), kCount, False, values)) {
    for (int i = 0; i < kCount; ++i) atoms_.emplace(names[i], values[i]);
  }
}

XIM XConnection::InputMethod() {
  if (!input_method_tried_) {
    input_method_tried_ = true;
    input_method_ = XOpenIM(display_, nullptr, nullptr, nullptr);
  }
  return input_method_;
}

XConnection::~XConnection() {
  for (Cursor c : cursors_) {
    if (c) XFreeCursor(display_, c);
  }
  if (input_method_) XCloseIM(input_method_);
  if (argb_colormap_) XFreeColormap(display_, argb_colormap_);
  XCloseDisplay(display_);
}

int XConnection::Fd() const { return ConnectionNumber(display_); }

Atom XConnection::atom(const char* name) {
  auto it = atoms_.find(name);
  if (it != atoms_.end()) return it->second;
  const Atom a = XInternAtom(display_, name, False);
  atoms_.emplace(name, a);
  return a;
}

Cursor XConnection::cursor(CursorKind kind) {
  static constexpr unsigned kShapes[] = {XC_left_ptr, XC_hand2, XC_xterm, XC_fleur,
                                         XC_sb_h_double_arrow, XC_sb_v_double_arrow,
                                         XC_bottom_right_corner, XC_bottom_left_corner};
  const int i = static_cast<int>(kind);
  if (!cursors_[i]) cursors_[i] = XCreateFontCursor(display_, kShapes[i]);
  return cursors_[i];
}

bool XConnection::HasCompositor() {
  // Asked on every layered update: a server round trip at most once a second.
  const auto now = std::chrono::steady_clock::now();
  if (compositor_checked_ == std::chrono::steady_clock::time_point{} || now - compositor_checked_ > std::chrono::seconds(1)) {
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen_);
    has_compositor_ = XGetSelectionOwner(display_, atom(name.c_str())) != None;
    compositor_checked_ = now;
  }
  return has_compositor_;
}

bool XConnection::HasMoveResizeManager() {
  const auto now = std::chrono::steady_clock::now();
  if (manager_checked_ != std::chrono::steady_clock::time_point{} && now - manager_checked_ < std::chrono::seconds(1)) {
    return has_manager_;
  }
  manager_checked_ = now;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  bool supported = false;
  if (XGetWindowProperty(display_, root_, atom("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW, &type, &format,
                         &items, &after, &data) == Success && data && items == 1) {
    XFree(data);
    data = nullptr;
    if (XGetWindowProperty(display_, root_, atom("_NET_SUPPORTED"), 0, 4096, False, XA_ATOM, &type, &format, &items,
                           &after, &data) == Success && data) {
      const Atom wanted = atom("_NET_WM_MOVERESIZE");
      const Atom* atoms = reinterpret_cast<const Atom*>(data);
      for (unsigned long i = 0; i < items; ++i) supported = supported || atoms[i] == wanted;
    }
  }
  if (data) XFree(data);
  has_manager_ = supported;
  return supported;
}

int XConnection::Dpi() {
  // Read from the root window each time, so a density set with xrdb while the
  // program runs is seen (Xlib keeps only the copy from when it connected).
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string resources;
  if (XGetWindowProperty(display_, RootWindow(display_, 0), XA_RESOURCE_MANAGER, 0, 1 << 20, False, XA_STRING, &type,
                         &format, &items, &after, &data) == Success && data) {
    resources.assign(reinterpret_cast<const char*>(data), items);
  }
  if (data) XFree(data);
  return DpiFromResources(resources);
}

int XConnection::DpiFromResources(const std::string& resources) {
  if (resources.empty()) return 96;
  XrmInitialize();
  XrmDatabase db = XrmGetStringDatabase(resources.c_str());
  int dpi = 96;
  char* value_type = nullptr;
  XrmValue value{};
  if (db && XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &value_type, &value) && value.addr) {
    const double parsed = std::atof(value.addr);
    if (parsed >= 24 && parsed <= 960) dpi = static_cast<int>(parsed + 0.5);
  }
  if (db) XrmDestroyDatabase(db);
  return dpi;
}

std::vector<MonitorInfo> XConnection::Monitors() {
  std::vector<MonitorInfo> result;
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(display_, root_, True, &count);
  for (int i = 0; i < count; ++i) {
    MonitorInfo m;
    m.monitor = {monitors[i].x, monitors[i].y, monitors[i].x + monitors[i].width, monitors[i].y + monitors[i].height};
    m.primary = monitors[i].primary;
    result.push_back(m);
  }
  if (monitors) XRRFreeMonitors(monitors);
  if (result.empty()) {
    MonitorInfo m;
    m.monitor = {0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
    m.primary = true;
    result.push_back(m);
  }
  bool any_primary = false;
  for (const MonitorInfo& m : result) any_primary = any_primary || m.primary;
  if (!any_primary) result.front().primary = true;

  // The desktop's work area (panels excluded) applies to every monitor it overlaps.
  Rect work_area;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, root_, atom("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type, &format, &items,
                         &after, &data) == Success && data && items >= 4 && format == 32) {
    const long* v = reinterpret_cast<const long*>(data);
    work_area = {static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[0] + v[2]),
                 static_cast<int32_t>(v[1] + v[3])};
  }
  if (data) XFree(data);
  for (MonitorInfo& m : result) {
    const Rect w = m.monitor.Intersect(work_area);
    m.work = w.IsEmpty() ? m.monitor : w;
  }
  return result;
}

MonitorInfo XConnection::MonitorFromRect(const Rect& rect) {
  std::vector<MonitorInfo> monitors = Monitors();
  const MonitorInfo* best = nullptr;
  int64_t best_area = 0;
  for (const MonitorInfo& m : monitors) {
    const Rect i = m.monitor.Intersect(rect);
    const int64_t area = static_cast<int64_t>(i.Width()) * i.Height();
    if (area > best_area) {
      best_area = area;
      best = &m;
    }
  }
  if (best) return *best;
  // No overlap: the monitor whose edge is nearest to the rectangle's centre.
  const int64_t cx = (static_cast<int64_t>(rect.left) + rect.right) / 2;
  const int64_t cy = (static_cast<int64_t>(rect.top) + rect.bottom) / 2;
  int64_t best_distance = INT64_MAX;
  for (const MonitorInfo& m : monitors) {
    const int64_t dx = cx < m.monitor.left ? m.monitor.left - cx : (cx >= m.monitor.right ? cx - m.monitor.right + 1 : 0);
    const int64_t dy = cy < m.monitor.top ? m.monitor.top - cy : (cy >= m.monitor.bottom ? cy - m.monitor.bottom + 1 : 0);
    const int64_t d = dx * dx + dy * dy;
    if (d < best_distance) {
      best_distance = d;
      best = &m;
    }
  }
  return *best;
}

Rect XConnection::VirtualScreen() {
  Rect all;
  for (const MonitorInfo& m : Monitors()) all = all.Union(m.monitor);
  return all;
}

}  // namespace platform
