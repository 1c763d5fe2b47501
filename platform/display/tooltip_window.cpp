#include "platform/display/tooltip_window.h"

#include <algorithm>

#include "platform/display/dialog_canvas.h"
#include "platform/display/native_window.h"

namespace platform {

TooltipWindow::TooltipWindow(WindowHandle owner) : owner_(owner) {}

TooltipWindow::~TooltipWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void TooltipWindow::UpdateTool(const std::string& text, const Rect& tool_rect) {
  text_ = text;
  tool_rect_ = tool_rect;
  if (visible()) Activate(true);
}

bool TooltipWindow::visible() const { return window_ && IsWindowVisible(window_); }

void TooltipWindow::Activate(bool active) {
  if (!active || text_.empty()) {
    if (window_ && IsWindow(window_)) ShowWindow(window_, kSwHide);
    return;
  }
  if (!canvas_) canvas_ = std::make_unique<DialogCanvas>(DisplayDpi());
  PangoLayout* layout = canvas_->Layout(text_, max_width_);
  const Size text = DialogCanvas::TextSize(layout);
  g_object_unref(layout);
  const int pad_x = canvas_->Scale(6);
  const int pad_y = canvas_->Scale(3);
  size_ = {text.cx + 2 * pad_x, text.cy + 2 * pad_y};

  // Below the pointer, clear of its arrow, and kept inside the monitor's work area.
  Point at;
  if (!GetCursorPos(&at)) {
    at = {tool_rect_.left, tool_rect_.bottom};
    ClientToScreen(owner_, &at);
  }
  Rect work = MonitorFromWindow(owner_).work;
  Rect r{at.x, at.y + canvas_->Scale(20), at.x + size_.cx, at.y + canvas_->Scale(20) + size_.cy};
  if (!work.IsEmpty()) {
    if (r.right > work.right) r.Offset(work.right - r.right, 0);
    if (r.left < work.left) r.Offset(work.left - r.left, 0);
    if (r.bottom > work.bottom) r.Offset(0, at.y - canvas_->Scale(4) - r.bottom);
  }
  if (!window_ || !IsWindow(window_)) {
    NativeWindowParams params;
    params.owner = owner_;
    params.popup = true;
    params.rect = r;
    window_ = CreateNativeWindow(&TooltipWindow::Procedure, this, params);
    if (!window_) return;
  } else {
    MoveWindow(window_, r);
  }
  ShowWindow(window_, kSwShowNa);
  InvalidateRect(window_, nullptr);
}

LResult TooltipWindow::Procedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  auto* self = static_cast<TooltipWindow*>(GetWindowUserData(window));
  if (self && message == kPaint && self->window_ == window) {
    self->Paint();
    ValidateRect(window, nullptr);
    return 0;
  }
  if (message == kNcHitTest) return kHtClient;
  return DefDisplayProc(window, message, wparam, lparam);
}

void TooltipWindow::Paint() {
  cairo_t* cr = canvas_->Begin(size_);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0x76 / 255.0, 0x76 / 255.0, 0x76 / 255.0);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, size_.cx - 1, size_.cy - 1);
  cairo_stroke(cr);
  PangoLayout* layout = canvas_->Layout(text_, max_width_);
  cairo_set_source_rgb(cr, 0x57 / 255.0, 0x57 / 255.0, 0x57 / 255.0);
  cairo_move_to(cr, canvas_->Scale(6), canvas_->Scale(3));
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  canvas_->Present(window_);
}

}  // namespace platform
