#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/geometry.h"

// The X server as the display backend sees it: one connection per UI thread, the
// atoms it speaks, the visual for windows with per-pixel alpha, the input method,
// the three cursors, the monitors with their work areas and the display density.
// Internal to platform/display: nothing outside the platform layer includes it.
namespace platform {

struct MonitorInfo {
  Rect monitor;
  Rect work;
  bool primary = false;
};

enum class CursorKind { kArrow, kHand, kIBeam, kSizeAll, kSizeWE, kSizeNS, kSizeNWSE, kSizeNESW };

class XConnection {
 public:
  // The connection of the calling thread, opened on first use from $DISPLAY;
  // null when no X server can be reached.
  static XConnection* ForCurrentThread();
  // Closes the calling thread's connection (tests; windows must be gone).
  static void CloseForCurrentThread();

  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  ::Display* display() const { return display_; }
  int screen() const { return screen_; }
  ::Window root() const { return root_; }
  int Fd() const;

  // 32-bit visual with an alpha channel; null when the server offers none.
  Visual* argb_visual() const { return argb_visual_; }
  Colormap argb_colormap() const { return argb_colormap_; }
  bool has_shape() const { return has_shape_; }
  bool has_shm() const { return has_shm_; }
  // Opened on first use: loading the locale's input tables takes tens of
  // milliseconds, which start-up should not wait for. Null when none opens.
  XIM InputMethod();

  Atom atom(const char* name);
  Cursor cursor(CursorKind kind);

  // A compositing manager blends windows with per-pixel alpha; without one the
  // transparent parts of a layered window must be cut away with a shape.
  bool HasCompositor();
  // A window manager that moves and resizes windows on request. Both answers are
  // asked of the server at most once a second.
  bool HasMoveResizeManager();

  // Display density in dots per inch: the Xft.dpi resource, 96 without it.
  int Dpi();
  // The same from the text of the server's resource database (as xrdb sets it);
  // 96 when it has no usable Xft.dpi.
  static int DpiFromResources(const std::string& resources);
  std::vector<MonitorInfo> Monitors();
  // The monitor with the largest overlap with the rectangle, else the nearest.
  MonitorInfo MonitorFromRect(const Rect& rect);
  Rect VirtualScreen();

  // Server time of the last event seen, for focus and grab requests.
  Time last_time() const { return last_time_; }
  void set_last_time(Time t) { if (t != CurrentTime) last_time_ = t; }

 private:
  explicit XConnection(::Display* display);

  ::Display* display_ = nullptr;
  int screen_ = 0;
  ::Window root_ = 0;
  Visual* argb_visual_ = nullptr;
  Colormap argb_colormap_ = 0;
  bool has_shape_ = false;
  bool has_shm_ = false;
  XIM input_method_ = nullptr;
  bool input_method_tried_ = false;
  Cursor cursors_[8] = {};
  std::unordered_map<std::string, Atom> atoms_;
  Time last_time_ = CurrentTime;
  bool has_compositor_ = false;
  bool has_manager_ = false;
  std::chrono::steady_clock::time_point manager_checked_{};
  std::chrono::steady_clock::time_point compositor_checked_{};
};

}  // namespace platform
