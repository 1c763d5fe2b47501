#include "platform/display/x_window.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr long kEventMask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                            FocusChangeMask | PropertyChangeMask;

// Decoration hints understood by window managers (the "Motif" hints layout).
struct MotifHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long input_mode;
  unsigned long status;
};

void SetAtomProperty(::Display* d, ::Window w, Atom property, Atom value) {
  XChangeProperty(d, w, property, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
}

}  // namespace

XWindow::XWindow(XConnection* connection, WindowHandle handle, const NativeWindowParams& params, ::Window owner_xid)
    : connection_(connection),
      display_(connection->display()),
      handle_(handle),
      owner_(params.owner),
      layered_(params.layered),
      popup_(params.popup),
      double_clicks_(params.double_clicks),
      rect_(params.rect),
      normal_rect_(params.rect) {
  Visual* visual = DefaultVisual(display_, connection->screen());
  depth_ = DefaultDepth(display_, connection->screen());
  XSetWindowAttributes attrs{};
  unsigned long mask = CWBackPixmap | CWBorderPixel | CWEventMask | CWBitGravity | CWOverrideRedirect;
  attrs.background_pixmap = None;
  attrs.border_pixel = 0;
  attrs.event_mask = kEventMask;
  attrs.bit_gravity = NorthWestGravity;
  attrs.override_redirect = params.popup ? True : False;
  // Per-pixel alpha needs a compositing manager to blend the window. Without one
  // the server would keep a 32-bit window off screen and copy it without
  // blending, so the window uses the screen's own visual and is cut to its
  // opaque pixels instead.
  if (layered_ && connection->argb_visual() && connection->HasCompositor()) {
    visual = connection->argb_visual();
    depth_ = 32;
    attrs.colormap = connection->argb_colormap();
    mask |= CWColormap;
  }
  const int width = std::max(1, rect_.Width());
  const int height = std::max(1, rect_.Height());
  xid_ = XCreateWindow(display_, connection->root(), rect_.left, rect_.top, static_cast<unsigned>(width),
                       static_cast<unsigned>(height), 0, depth_, InputOutput, visual, mask, &attrs);
  gc_ = XCreateGC(display_, xid_, 0, nullptr);

  Atom protocols[] = {connection->atom("WM_DELETE_WINDOW"), connection->atom("_NET_WM_PING")};
  XSetWMProtocols(display_, xid_, protocols, 2);
  XClassHint class_hint{const_cast<char*>("lumora"), const_cast<char*>("Lumora")};
  XSetClassHint(display_, xid_, &class_hint);
  const long pid = static_cast<long>(getpid());
  XChangeProperty(display_, xid_, connection->atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  if (owner_xid) XSetTransientForHint(display_, xid_, owner_xid);
  SetAtomProperty(display_, xid_, connection->atom("_NET_WM_WINDOW_TYPE"),
                  connection->atom(params.popup ? "_NET_WM_WINDOW_TYPE_TOOLTIP"
                                                 : (owner_xid ? "_NET_WM_WINDOW_TYPE_DIALOG"
                                                              : "_NET_WM_WINDOW_TYPE_NORMAL")));
  if (params.layered) {
    // The whole window is client area: the skin draws its own frame.
    MotifHints hints{2, 0, 0, 0, 0};
    const Atom motif = connection->atom("_MOTIF_WM_HINTS");
    XChangeProperty(display_, xid_, motif, motif, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&hints), 5);
  }
  SetSizeHints(nullptr);
  XWMHints wm_hints{};
  wm_hints.flags = InputHint | StateHint;
  wm_hints.input = True;
  wm_hints.initial_state = NormalState;
  XSetWMHints(display_, xid_, &wm_hints);
  SetTitle(params.title);

}

XIC XWindow::EnsureInputContext() {
  if (input_context_tried_) return input_context_;
  input_context_tried_ = true;
  XIM im = connection_->InputMethod();
  if (!im) return nullptr;
  input_context_ = XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, xid_,
                             XNFocusWindow, xid_, nullptr);
  if (input_context_) {
    long im_mask = 0;
    XGetICValues(input_context_, XNFilterEvents, &im_mask, nullptr);
    XSelectInput(display_, xid_, kEventMask | im_mask);
  }
  return input_context_;
}

XWindow::~XWindow() {
  ReleaseImage();
  if (input_context_) XDestroyIC(input_context_);
  if (gc_) XFreeGC(display_, gc_);
  if (xid_) XDestroyWindow(display_, xid_);
  XFlush(display_);
}

Rect XWindow::QueryScreenRect() const {
  ::Window child = 0;
  int x = 0, y = 0;
  XWindowAttributes attrs{};
  if (!XGetWindowAttributes(display_, xid_, &attrs)) return rect_;
  XTranslateCoordinates(display_, xid_, connection_->root(), 0, 0, &x, &y, &child);
  return {x, y, x + attrs.width, y + attrs.height};
}

void XWindow::MoveResize(const Rect& rect) {
  rect_ = rect;
  XMoveResizeWindow(display_, xid_, rect.left, rect.top, static_cast<unsigned>(std::max(1, rect.Width())),
                    static_cast<unsigned>(std::max(1, rect.Height())));
}

void XWindow::SetSizeHints(const MinMaxInfo* limits) {
  if (limits) {
    limits_ = *limits;
    has_limits_ = true;
  } else if (has_limits_) {
    limits = &limits_;  // a move keeps the limits given before
  }
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = USPosition | PPosition;
  hints->x = rect_.left;
  hints->y = rect_.top;
  if (limits) {
    if (limits->min_track_size.cx > 0 || limits->min_track_size.cy > 0) {
      hints->flags |= PMinSize;
      hints->min_width = limits->min_track_size.cx;
      hints->min_height = limits->min_track_size.cy;
    }
    if (limits->max_track_size.cx > 0 && limits->max_track_size.cy > 0) {
      hints->flags |= PMaxSize;
      hints->max_width = limits->max_track_size.cx;
      hints->max_height = limits->max_track_size.cy;
    }
  }
  XSetWMNormalHints(display_, xid_, hints);
  XFree(hints);
}

void XWindow::Map(bool activate) {
  // A user time of 0 asks the window manager not to give the new window the focus.
  const long user_time = 0;
  const Atom time_atom = connection_->atom("_NET_WM_USER_TIME");
  if (activate) {
    XDeleteProperty(display_, xid_, time_atom);
  } else {
    XChangeProperty(display_, xid_, time_atom, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&user_time), 1);
  }
  focus_on_map_ = activate && !popup_;
  visible_ = true;
  XMapRaised(display_, xid_);
}

void XWindow::Unmap() {
  visible_ = false;
  focus_on_map_ = false;
  XUnmapWindow(display_, xid_);
  if (!popup_) {
    // A withdrawn top-level is announced to the window manager by a synthetic unmap.
    XEvent ev{};
    ev.xunmap.type = UnmapNotify;
    ev.xunmap.event = connection_->root();
    ev.xunmap.window = xid_;
    XSendEvent(display_, connection_->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  }
}

void XWindow::SetTitle(const std::string& utf8_title) {
  title_ = utf8_title;
  const Atom utf8 = connection_->atom("UTF8_STRING");
  XChangeProperty(display_, xid_, connection_->atom("_NET_WM_NAME"), utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8_title.data()), static_cast<int>(utf8_title.size()));
  XChangeProperty(display_, xid_, XA_WM_NAME, utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8_title.data()), static_cast<int>(utf8_title.size()));
}

void XWindow::SetCursor(Cursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  XDefineCursor(display_, xid_, cursor);
}

void XWindow::SetRegion(std::vector<XRectangle> rects) {
  region_ = std::move(rects);
  ApplyShape();
}

std::vector<XRectangle> XWindow::OpaqueRuns(const uint8_t* pixels, int stride, Size size) {
  std::vector<XRectangle> runs;
  for (int y = 0; y < size.cy; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * stride;
    int x = 0;
    while (x < size.cx) {
      while (x < size.cx && row[x * 4 + 3] != 0xFF) ++x;
      const int start = x;
      while (x < size.cx && row[x * 4 + 3] == 0xFF) ++x;
      if (x > start) {
        runs.push_back({static_cast<short>(start), static_cast<short>(y), static_cast<unsigned short>(x - start), 1});
      }
    }
  }
  return runs;
}

void XWindow::ApplyShape(const uint8_t* pixels, int stride, Size size) {
  if (!connection_->has_shape()) return;
  // Transparency of a layered window is only real under a compositor; otherwise cut
  // the window down to its opaque pixels, so shadows do not show as black.
  const bool cut_to_content = layered_ && has_contents_ && !connection_->HasCompositor();
  if (!cut_to_content && region_.empty()) {
    if (shaped_) XShapeCombineMask(display_, xid_, ShapeBounding, 0, 0, None, ShapeSet);
    shaped_ = false;
    shape_.clear();
    return;
  }
  std::vector<XRectangle> shape;
  if (!cut_to_content) {
    shape = region_;
  } else if (pixels) {
    shape = OpaqueRuns(pixels, stride, size);
  } else {
    shape = shape_;  // the contents did not change, only the region
  }
  const bool same = shaped_ && shape.size() == shape_.size() &&
                    std::equal(shape.begin(), shape.end(), shape_.begin(), [](const XRectangle& a, const XRectangle& b) {
                      return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
                    });
  if (same && !(cut_to_content && !region_.empty()) && pixels) return;
  XShapeCombineRectangles(display_, xid_, ShapeBounding, 0, 0, shape.data(), static_cast<int>(shape.size()), ShapeSet,
                          cut_to_content ? YXBanded : Unsorted);
  if (cut_to_content && !region_.empty()) {
    XShapeCombineRectangles(display_, xid_, ShapeBounding, 0, 0, region_.data(), static_cast<int>(region_.size()),
                            ShapeIntersect, Unsorted);
  }
  shape_ = std::move(shape);
  shaped_ = true;
}

bool XWindow::EnsureShmImage(Size size) {
  if (image_ && image_->width == size.cx && image_->height == size.cy) return true;
  ReleaseImage();
  if (!connection_->has_shm() || size.cx <= 0 || size.cy <= 0) return false;
  Visual* visual = depth_ == 32 ? connection_->argb_visual() : DefaultVisual(display_, connection_->screen());
  image_ = XShmCreateImage(display_, visual, static_cast<unsigned>(depth_), ZPixmap, nullptr, &shm_,
                           static_cast<unsigned>(size.cx), static_cast<unsigned>(size.cy));
  if (image_ && image_->bits_per_pixel == 32) {
    shm_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image_->bytes_per_line) * image_->height, IPC_CREAT | 0600);
    if (shm_.shmid >= 0) {
      shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
      shm_.readOnly = False;
      if (shm_.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(display_, &shm_)) {
        XSync(display_, False);
        // Marked for removal now, so the segment goes away with the last detach.
        shmctl(shm_.shmid, IPC_RMID, nullptr);
        shm_attached_ = true;
        return true;
      }
      if (shm_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(shm_.shmaddr);
      shmctl(shm_.shmid, IPC_RMID, nullptr);
    }
  }
  if (image_) {
    image_->data = nullptr;
    XDestroyImage(image_);
    image_ = nullptr;
  }
  return false;
}

void XWindow::ReleaseImage() {
  if (!image_) return;
  if (shm_attached_) {
    XShmDetach(display_, &shm_);
    XSync(display_, False);
    shmdt(shm_.shmaddr);
    shm_attached_ = false;
    shm_busy_ = false;
  }
  image_->data = nullptr;
  XDestroyImage(image_);
  image_ = nullptr;
}

bool XWindow::Put(const uint8_t* pixels, int stride, Size size, const Rect& rect, uint8_t alpha) {
  if (!pixels || size.cx <= 0 || size.cy <= 0) return false;
  const Rect r = rect.Intersect({0, 0, size.cx, size.cy});
  // Constant alpha only means something where a compositor blends the window.
  const bool scale = alpha != 0xFF && layered_ && connection_->HasCompositor();
  if (layered_) has_contents_ = true;

  if (EnsureShmImage(size)) {
    // Copied into the segment the server reads from; the copy also serves exposes.
    if (shm_busy_) {
      XSync(display_, False);  // the previous put must be read before it is overwritten
      shm_busy_ = false;
    }
    const size_t bytes = static_cast<size_t>(r.Width()) * 4;
    for (int y = r.top; y < r.bottom; ++y) {
      const uint8_t* src = pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(r.left) * 4;
      uint8_t* dst = reinterpret_cast<uint8_t*>(image_->data) + static_cast<size_t>(y) * image_->bytes_per_line +
                     static_cast<size_t>(r.left) * 4;
      if (!scale) {
        std::memcpy(dst, src, bytes);
      } else {
        for (size_t i = 0; i < bytes; ++i) dst[i] = static_cast<uint8_t>((src[i] * alpha + 127) / 255);
      }
    }
    if (layered_) ApplyShape(reinterpret_cast<uint8_t*>(image_->data), image_->bytes_per_line, size);
    Repaint(r);
    return true;
  }

  // Without shared memory the caller's pixels go straight into the request.
  const uint8_t* source = pixels;
  int source_stride = stride;
  if (scale) {
    scaled_.resize(static_cast<size_t>(size.cx) * 4 * size.cy);
    for (int y = 0; y < size.cy; ++y) {
      const uint8_t* src = pixels + static_cast<size_t>(y) * stride;
      uint8_t* dst = scaled_.data() + static_cast<size_t>(y) * size.cx * 4;
      for (int i = 0; i < size.cx * 4; ++i) dst[i] = static_cast<uint8_t>((src[i] * alpha + 127) / 255);
    }
    source = scaled_.data();
    source_stride = size.cx * 4;
  }
  if (layered_) ApplyShape(source, source_stride, size);
  if (r.IsEmpty()) return true;
  Visual* visual = depth_ == 32 ? connection_->argb_visual() : DefaultVisual(display_, connection_->screen());
  XImage* image = XCreateImage(display_, visual, static_cast<unsigned>(depth_), ZPixmap, 0,
                               reinterpret_cast<char*>(const_cast<uint8_t*>(source)), static_cast<unsigned>(size.cx),
                               static_cast<unsigned>(size.cy), 32, source_stride);
  if (!image) return false;
  const bool ok = image->bits_per_pixel == 32;
  if (ok) {
    XPutImage(display_, xid_, gc_, image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
              static_cast<unsigned>(r.Height()));
    XFlush(display_);
  }
  image->data = nullptr;  // the pixels belong to the caller
  XDestroyImage(image);
  return ok;
}

bool XWindow::Repaint(const Rect& rect) {
  if (!image_) return false;
  const Rect r = rect.Intersect({0, 0, image_->width, image_->height});
  if (r.IsEmpty()) return true;
  XShmPutImage(display_, xid_, gc_, image_, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
               static_cast<unsigned>(r.Height()), False);
  shm_busy_ = true;
  XFlush(display_);
  return true;
}

}  // namespace platform
