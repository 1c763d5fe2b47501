#include "platform/display/message_box_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/display/message_box.h"

namespace platform {
namespace {

thread_local MessageBoxDialog* t_active = nullptr;

bool ChineseDesktop() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(name);
    if (v && *v) return std::strncmp(v, "zh", 2) == 0;
  }
  return false;
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void SetRgb(cairo_t* cr, uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

}  // namespace

int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, uint32_t type) {
  MessageBoxDialog dialog(owner, text, caption, type);
  return dialog.Run();
}

MessageBoxDialog::MessageBoxDialog(WindowHandle owner, std::string text, std::string caption, uint32_t type)
    : owner_(owner), text_(std::move(text)), caption_(std::move(caption)), type_(type), canvas_(DisplayDpi()) {
  const bool zh = ChineseDesktop();
  if ((type_ & 0x0F) == kMbRetryCancel) {
    buttons_.push_back({kIdRetry, zh ? "重试" : "Retry", {}});
    buttons_.push_back({kIdCancel, zh ? "取消" : "Cancel", {}});
  } else {
    buttons_.push_back({kIdOk, zh ? "确定" : "OK", {}});
  }
  LayOut();
}

MessageBoxDialog::~MessageBoxDialog() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

MessageBoxDialog* MessageBoxDialog::Active() { return t_active; }

int MessageBoxDialog::CancelResult() const { return (type_ & 0x0F) == kMbRetryCancel ? kIdCancel : kIdOk; }

void MessageBoxDialog::LayOut() {
  const int pad = canvas_.Scale(20);
  const int icon = (type_ & 0xF0) == kMbIconError ? canvas_.Scale(32) : 0;
  const int gap = icon ? canvas_.Scale(12) : 0;
  PangoLayout* layout = canvas_.Layout(text_, canvas_.Scale(420));
  const Size text = DialogCanvas::TextSize(layout);
  g_object_unref(layout);
  const int button_w = canvas_.Scale(80);
  const int button_h = canvas_.Scale(26);
  const int button_gap = canvas_.Scale(8);
  const int buttons_w = static_cast<int>(buttons_.size()) * button_w + (static_cast<int>(buttons_.size()) - 1) * button_gap;
  const int content_h = std::max(icon, text.cy);
  const int band_h = button_h + canvas_.Scale(22);
  size_.cx = std::max({pad * 2 + icon + gap + text.cx, pad * 2 + buttons_w, canvas_.Scale(240)});
  size_.cy = pad * 2 + content_h + band_h;
  icon_rect_ = {pad, pad, pad + icon, pad + icon};
  const int text_top = pad + (content_h - text.cy) / 2;
  text_rect_ = {pad + icon + gap, text_top, pad + icon + gap + text.cx, text_top + text.cy};
  int x = size_.cx - pad - buttons_w;
  const int y = size_.cy - band_h + (band_h - button_h) / 2;
  for (Button& b : buttons_) {
    b.rect = {x, y, x + button_w, y + button_h};
    x += button_w + button_gap;
  }
}

int MessageBoxDialog::Run() {
  // Centred over a visible owner, else on the primary monitor's work area.
  Rect around;
  if (!owner_ || !IsWindowVisible(owner_) || IsIconic(owner_) || !GetWindowRect(owner_, &around)) {
    around = PrimaryMonitor().work;
  }
  if (around.IsEmpty()) return 0;
  NativeWindowParams params;
  params.owner = owner_;
  params.title = caption_;
  params.rect.left = around.left + (around.Width() - size_.cx) / 2;
  params.rect.top = around.top + (around.Height() - size_.cy) / 2;
  params.rect.right = params.rect.left + size_.cx;
  params.rect.bottom = params.rect.top + size_.cy;
  window_ = CreateNativeWindow(&MessageBoxDialog::Procedure, this, params);
  if (!window_) return 0;

  const bool disable_owner = owner_ && IsWindowEnabled(owner_);
  if (disable_owner) EnableWindow(owner_, false);
  outer_ = t_active;
  t_active = this;
  ShowWindow(window_, kSwShow);
  SetFocus(window_);

  // The nested loop: every message of the thread is dispatched, so other windows
  // repaint and posted tasks run while the box waits for its answer.
  Message m;
  while (!done_) {
    if (!GetMessage(&m, 0, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wparam));
      Finish(CancelResult());
      break;
    }
    DispatchMessage(m);
    if (!IsWindow(window_) && !done_) Finish(CancelResult());
  }

  t_active = outer_;
  if (disable_owner) EnableWindow(owner_, true);
  if (IsWindow(window_)) DestroyWindow(window_);
  window_ = 0;
  if (owner_ && IsWindowVisible(owner_)) SetFocus(owner_);
  return result_;
}

void MessageBoxDialog::Finish(int result) {
  if (done_) return;
  result_ = result;
  done_ = true;
  if (window_ && IsWindow(window_)) ShowWindow(window_, kSwHide);
}

Rect MessageBoxDialog::ButtonScreenRect(int id) const {
  for (const Button& b : buttons_) {
    if (b.id != id) continue;
    Point origin;
    if (!ClientToScreen(window_, &origin)) return {};
    Rect r = b.rect;
    r.Offset(origin.x, origin.y);
    return r;
  }
  return {};
}

int MessageBoxDialog::ButtonAt(Point p) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i].rect.Contains(p)) return static_cast<int>(i);
  }
  return -1;
}

LResult MessageBoxDialog::Procedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  auto* self = static_cast<MessageBoxDialog*>(GetWindowUserData(window));
  if (!self || message == kNcCreate || message == kCreate) return DefDisplayProc(window, message, wparam, lparam);
  if (!self->window_) self->window_ = window;
  return self->Handle(message, wparam, lparam);
}

LResult MessageBoxDialog::Handle(uint32_t message, WParam wparam, LParam lparam) {
  const Point p{PointParamX(lparam), PointParamY(lparam)};
  switch (message) {
    case kPaint:
      Paint();
      ValidateRect(window_, nullptr);
      return 0;
    case kMouseMove: {
      const int hot = ButtonAt(p);
      if (hot != hot_) {
        hot_ = hot;
        InvalidateRect(window_, nullptr);
      }
      TrackMouseEvent(window_, false, true, 0);
      return 0;
    }
    case kMouseLeave:
      if (hot_ != -1) {
        hot_ = -1;
        InvalidateRect(window_, nullptr);
      }
      return 0;
    case kLButtonDown:
      pressed_ = ButtonAt(p);
      if (pressed_ >= 0) {
        focused_ = pressed_;
        SetCapture(window_);
        InvalidateRect(window_, nullptr);
      }
      return 0;
    case kLButtonUp: {
      const int pressed = pressed_;
      pressed_ = -1;
      if (GetCapture() == window_) ReleaseCapture();
      InvalidateRect(window_, nullptr);
      // A click counts only when released over the button it started on.
      if (pressed >= 0 && ButtonAt(p) == pressed) Finish(buttons_[static_cast<size_t>(pressed)].id);
      return 0;
    }
    case kKeyDown:
      switch (wparam) {
        case kVkReturn:
        case 0x20:
          Finish(buttons_[static_cast<size_t>(focused_)].id);
          return 0;
        case kVkEscape:
          Finish(CancelResult());
          return 0;
        case kVkTab:
        case kVkRight:
          focused_ = (focused_ + 1) % static_cast<int>(buttons_.size());
          InvalidateRect(window_, nullptr);
          return 0;
        case kVkLeft:
          focused_ = (focused_ + static_cast<int>(buttons_.size()) - 1) % static_cast<int>(buttons_.size());
          InvalidateRect(window_, nullptr);
          return 0;
        default:
          return 0;
      }
    case kClose:
      Finish(CancelResult());
      return 0;
    default:
      return DefDisplayProc(window_, message, wparam, lparam);
  }
}

void MessageBoxDialog::Paint() {
  cairo_t* cr = canvas_.Begin(size_);
  SetRgb(cr, 0xFFFFFF);
  cairo_paint(cr);
  const Rect band{0, buttons_.front().rect.top - canvas_.Scale(11), size_.cx, size_.cy};
  SetRgb(cr, 0xF0F0F0);
  cairo_rectangle(cr, band.left, band.top, band.Width(), band.Height());
  cairo_fill(cr);

  if (!icon_rect_.IsEmpty()) {
    // The error icon: a red disc with a white cross.
    const double cx = icon_rect_.left + icon_rect_.Width() / 2.0;
    const double cy = icon_rect_.top + icon_rect_.Height() / 2.0;
    const double r = icon_rect_.Width() / 2.0;
    SetRgb(cr, 0xE81123);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    SetRgb(cr, 0xFFFFFF);
    cairo_set_line_width(cr, r / 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double a = r * 0.38;
    cairo_move_to(cr, cx - a, cy - a);
    cairo_line_to(cr, cx + a, cy + a);
    cairo_move_to(cr, cx + a, cy - a);
    cairo_line_to(cr, cx - a, cy + a);
    cairo_stroke(cr);
  }

  PangoLayout* layout = canvas_.Layout(text_, canvas_.Scale(420));
  SetRgb(cr, 0x000000);
  cairo_move_to(cr, text_rect_.left, text_rect_.top);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);

  for (size_t i = 0; i < buttons_.size(); ++i) {
    const Button& b = buttons_[i];
    const bool hot = static_cast<int>(i) == hot_;
    const bool pressed = static_cast<int>(i) == pressed_ && hot;
    const bool focused = static_cast<int>(i) == focused_;
    RoundedRect(cr, b.rect.left + 0.5, b.rect.top + 0.5, b.rect.Width() - 1, b.rect.Height() - 1, canvas_.Scale(2));
    SetRgb(cr, pressed ? 0xCCE4F7 : (hot ? 0xE5F1FB : 0xE1E1E1));
    cairo_fill_preserve(cr);
    SetRgb(cr, (hot || focused) ? 0x0078D7 : 0xADADAD);
    cairo_set_line_width(cr, focused ? 2 : 1);
    cairo_stroke(cr);
    PangoLayout* label = canvas_.Layout(b.label, 0);
    const Size ls = DialogCanvas::TextSize(label);
    SetRgb(cr, 0x000000);
    cairo_move_to(cr, b.rect.left + (b.rect.Width() - ls.cx) / 2, b.rect.top + (b.rect.Height() - ls.cy) / 2);
    pango_cairo_show_layout(cr, label);
    g_object_unref(label);
  }
  canvas_.Present(window_);
}

}  // namespace platform
