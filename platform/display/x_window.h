#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <string>
#include <vector>

#include "platform/display/native_window.h"
#include "platform/display/x_connection.h"

// The X side of one top-level window: the X window and its input context, its
// geometry and show state as the layer last set or saw them, the window region,
// and the image through which pixels reach the screen. Internal to platform/display.
namespace platform {

enum class ShowState { kNormal, kMinimized, kMaximized };

class XWindow {
 public:
  XWindow(XConnection* connection, WindowHandle handle, const NativeWindowParams& params, ::Window owner_xid);
  ~XWindow();
  XWindow(const XWindow&) = delete;
  XWindow& operator=(const XWindow&) = delete;

  ::Window xid() const { return xid_; }
  WindowHandle handle() const { return handle_; }
  WindowHandle owner() const { return owner_; }
  bool layered() const { return layered_; }
  bool popup() const { return popup_; }
  bool double_clicks() const { return double_clicks_; }
  XIC input_context() const { return input_context_; }
  // Made on the window's first key press or focus; null without an input method.
  XIC EnsureInputContext();

  const Rect& rect() const { return rect_; }
  void set_rect(const Rect& rect) { rect_ = rect; }
  Size client_size() const { return {rect_.Width(), rect_.Height()}; }
  // Asks the server for the window's place (also under a reparenting manager).
  Rect QueryScreenRect() const;
  void MoveResize(const Rect& rect);
  // Position and, once given, the size limits for a window manager.
  void SetSizeHints(const MinMaxInfo* limits);

  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled) { enabled_ = enabled; }
  bool visible() const { return visible_; }
  void Map(bool activate);
  void Unmap();
  ShowState state() const { return state_; }
  void set_state(ShowState state) { state_ = state; }
  const Rect& normal_rect() const { return normal_rect_; }
  void set_normal_rect(const Rect& rect) { normal_rect_ = rect; }
  Size reported_size() const { return reported_size_; }
  void set_reported_size(Size size) { reported_size_ = size; }
  bool focus_on_map() const { return focus_on_map_; }
  void clear_focus_on_map() { focus_on_map_ = false; }

  void SetTitle(const std::string& utf8_title);
  const std::string& title() const { return title_; }
  void SetCursor(Cursor cursor);

  // Window region (window coordinates); an empty list removes it.
  void SetRegion(std::vector<XRectangle> rects);

  // Copies rect of the BGRA image into the window's image and onto the screen;
  // alpha scales every (premultiplied) channel. False when the image cannot be made.
  bool Put(const uint8_t* pixels, int stride, Size size, const Rect& rect, uint8_t alpha);
  // Puts the part of the last image that an expose uncovered; false when no copy
  // is kept (the window must be painted again).
  bool Repaint(const Rect& rect);

 private:
  // The shared-memory image the window's pixels are copied into; false when
  // shared memory cannot be used.
  bool EnsureShmImage(Size size);
  void ReleaseImage();
  // pixels: the window's current contents, when they changed (used for the shape).
  void ApplyShape(const uint8_t* pixels = nullptr, int stride = 0, Size size = {});
  // Rows of opaque pixels, used as the shape when nothing composites the
  // window's transparency.
  static std::vector<XRectangle> OpaqueRuns(const uint8_t* pixels, int stride, Size size);

  XConnection* connection_;
  ::Display* display_;
  WindowHandle handle_;
  WindowHandle owner_;
  ::Window xid_ = 0;
  int depth_ = 24;
  bool layered_;
  bool popup_;
  bool double_clicks_;
  XIC input_context_ = nullptr;
  bool input_context_tried_ = false;
  GC gc_ = nullptr;
  Rect rect_;
  Rect normal_rect_;
  Size reported_size_;
  MinMaxInfo limits_{};
  bool has_limits_ = false;
  bool enabled_ = true;
  bool visible_ = false;
  bool focus_on_map_ = false;
  ShowState state_ = ShowState::kNormal;
  std::string title_;
  Cursor cursor_ = 0;
  std::vector<XRectangle> region_;
  std::vector<XRectangle> shape_;  // last shape sent: region and opaque runs combined
  bool shaped_ = false;

  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  bool shm_attached_ = false;
  bool shm_busy_ = false;  // the server may still be reading the segment
  bool has_contents_ = false;    // a layered window got its first pixels
  std::vector<uint8_t> scaled_;  // constant alpha applied, without shared memory
};

}  // namespace platform
