#include "ui/render/render_context_cairo.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/render/font.h"
#include "ui/render/image_info.h"
#include "ui/render/text_engine.h"
#include "ui/resources/global_resources.h"

namespace ui {
namespace {

void SetSourceArgb(cairo_t* cr, uint32_t argb, int alpha) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        alpha / 255.0);
}

// A rectangle with each corner an ellipse quarter of half the rounding.
void RoundRectPath(cairo_t* cr, const UiRect& r, int round_cx, int round_cy) {
  const double rx = std::min(round_cx / 2.0, r.Width() / 2.0);
  const double ry = std::min(round_cy / 2.0, r.Height() / 2.0);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
    return;
  }
  auto corner = [cr, rx, ry](double cx, double cy, double from, double to) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
  };
  cairo_new_sub_path(cr);
  corner(r.right - rx, r.top + ry, -M_PI / 2, 0);
  corner(r.right - rx, r.bottom - ry, 0, M_PI / 2);
  corner(r.left + rx, r.bottom - ry, M_PI / 2, M_PI);
  corner(r.left + rx, r.top + ry, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

bool Meets(const UiRect& a, const UiRect& b) { return !a.Intersect(b).IsEmpty(); }

double PangoToPixels(int units) { return static_cast<double>(units) / PANGO_SCALE; }

}  // namespace

RenderContext_Cairo::RenderContext_Cairo() = default;

RenderContext_Cairo::~RenderContext_Cairo() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

bool RenderContext_Cairo::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (surface_ && width == width_ && height == height_) return false;
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
  // A 0 x 0 image surface is valid in Cairo, so every size gives a usable context.
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
  width_ = width;
  height_ = height;
  // The drawing state belongs to the old surface: start over.
  origin_ = {};
  origin_stack_.clear();
  clips_.clear();
  return true;
}

UiSize RenderContext_Cairo::GetSize() const { return {width_, height_}; }

void RenderContext_Cairo::Clear() { ClearRect({0, 0, width_, height_}); }

void RenderContext_Cairo::ClearRect(const UiRect& rect) {
  const UiRect r = rect.Intersect({0, 0, width_, height_});
  if (r.IsEmpty()) return;
  cairo_surface_flush(surface_);
  uint8_t* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = r.top; y < r.bottom; ++y)
    std::memset(data + static_cast<ptrdiff_t>(y) * stride + r.left * 4, 0, static_cast<size_t>(r.Width()) * 4);
  cairo_surface_mark_dirty(surface_);
}

uint8_t* RenderContext_Cairo::GetBits() {
  if (!surface_) return nullptr;
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_);
}

int RenderContext_Cairo::GetStride() const { return surface_ ? cairo_image_surface_get_stride(surface_) : 0; }

void RenderContext_Cairo::MarkBitsDirty() {
  if (surface_) cairo_surface_mark_dirty(surface_);
}

void RenderContext_Cairo::RestoreAlpha(const UiRect& rect, const UiRect& corner, uint8_t key_alpha) {
  const UiRect r = rect.Intersect({0, 0, width_, height_});
  if (r.IsEmpty()) return;
  auto in_corner = [&](int x, int y) {
    const bool left = x < corner.left, right = x >= width_ - corner.right;
    const bool top = y < corner.top, bottom = y >= height_ - corner.bottom;
    return (top && (left || right)) || (bottom && (left || right));
  };
  uint8_t* data = GetBits();
  const int stride = GetStride();
  for (int y = r.top; y < r.bottom; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = r.left; x < r.right; ++x) {
      if (in_corner(x, y)) continue;
      const uint32_t alpha = row[x] >> 24;
      const uint32_t restored = (key_alpha != 0 && alpha == key_alpha) ? 0 : 255;
      row[x] = (row[x] & 0x00FFFFFF) | (restored << 24);
    }
  }
  MarkBitsDirty();
}

// Clips are kept in device pixels, so popping an origin never moves them.
void RenderContext_Cairo::ApplyClip(const Clip& clip) {
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_new_path(cr_);
  RoundRectPath(cr_, clip.rect, clip.round_cx, clip.round_cy);
  cairo_restore(cr_);
  cairo_clip(cr_);
}

void RenderContext_Cairo::ApplyClips() {
  cairo_reset_clip(cr_);
  for (const Clip& clip : clips_) ApplyClip(clip);
}

void RenderContext_Cairo::PushRoundClip(const UiRect& rect, int round_cx, int round_cy) {
  if (!cr_) Resize(0, 0);
  Clip clip{rect, std::max(round_cx, 0), std::max(round_cy, 0)};
  clip.rect.Offset(-origin_.x, -origin_.y);
  if (clip.rect.IsEmpty()) clip.rect = {};
  clips_.push_back(clip);
  ApplyClip(clip);
}

void RenderContext_Cairo::PushClip(const UiRect& rect) { PushRoundClip(rect, 0, 0); }

void RenderContext_Cairo::PopClip() {
  if (clips_.empty()) return;
  clips_.pop_back();
  ApplyClips();
}

void RenderContext_Cairo::PushOrigin(const UiPoint& offset) {
  if (!cr_) Resize(0, 0);
  origin_stack_.push_back(origin_);
  origin_.x += offset.x;
  origin_.y += offset.y;
  cairo_translate(cr_, -offset.x, -offset.y);
}

void RenderContext_Cairo::PopOrigin() {
  if (origin_stack_.empty()) return;
  origin_ = origin_stack_.back();
  origin_stack_.pop_back();
  cairo_identity_matrix(cr_);
  cairo_translate(cr_, -origin_.x, -origin_.y);
}

void RenderContext_Cairo::FillRect(const UiRect& rect, uint32_t argb, uint8_t alpha) {
  const int a = static_cast<int>(argb >> 24) * alpha / 255;
  if (!cr_ || a == 0 || rect.IsEmpty()) return;
  SetSourceArgb(cr_, argb, a);
  cairo_rectangle(cr_, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_fill(cr_);
}

void RenderContext_Cairo::FillRect(const UiRect& rect, const std::u16string& color_name, uint8_t alpha) {
  if (color_name.empty()) return;
  FillRect(rect, GlobalResources::Instance().LookupColor(color_name), alpha);
}

void RenderContext_Cairo::DrawLine(const UiPoint& from, const UiPoint& to, int pen_width, uint32_t argb) {
  const int a = static_cast<int>(argb >> 24);
  if (!cr_ || a == 0 || pen_width < 1) return;
  // An odd pen is centred on a pixel row or column (half a pixel across the
  // line); along the line it covers [from, to).
  const double half = (pen_width % 2) ? 0.5 : 0.0;
  double dx = half, dy = half;
  if (from.x == to.x) dy = 0;
  if (from.y == to.y) dx = 0;
  SetSourceArgb(cr_, argb, a);
  cairo_set_line_width(cr_, pen_width);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_move_to(cr_, from.x + dx, from.y + dy);
  cairo_line_to(cr_, to.x + dx, to.y + dy);
  cairo_stroke(cr_);
}

void RenderContext_Cairo::DrawRect(const UiRect& rect, int pen_width, uint32_t argb) {
  const int a = static_cast<int>(argb >> 24);
  if (!cr_ || a == 0 || pen_width < 1) return;
  const double half = (pen_width % 2) ? 0.5 : 0.0;
  SetSourceArgb(cr_, argb, a);
  cairo_set_line_width(cr_, pen_width);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  cairo_rectangle(cr_, rect.left + half, rect.top + half, rect.Width(), rect.Height());
  cairo_stroke(cr_);
}

void RenderContext_Cairo::DrawPiece(cairo_surface_t* picture, const UiRect& src, const UiRect& dst,
                                    double opacity) {
  if (src.IsEmpty() || dst.IsEmpty()) return;
  // A sub-surface with padded edges: stretching never samples the
  // neighbouring piece of the picture.
  cairo_surface_t* piece = cairo_surface_create_for_rectangle(picture, src.left, src.top, src.Width(), src.Height());
  cairo_save(cr_);
  cairo_rectangle(cr_, dst.left, dst.top, dst.Width(), dst.Height());
  cairo_clip(cr_);
  cairo_translate(cr_, dst.left, dst.top);
  cairo_scale(cr_, static_cast<double>(dst.Width()) / src.Width(), static_cast<double>(dst.Height()) / src.Height());
  cairo_set_source_surface(cr_, piece, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
  if (dst.Width() == src.Width() && dst.Height() == src.Height())
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  if (opacity >= 1.0)
    cairo_paint(cr_);
  else
    cairo_paint_with_alpha(cr_, opacity);
  cairo_restore(cr_);
  cairo_surface_destroy(piece);
}

void RenderContext_Cairo::DrawImage(const UiRect& paint_rect, const ImageFrame* frame, bool /*has_alpha*/,
                                    const UiRect& dest, const UiRect& source, const UiRect& corner, uint8_t fade,
                                    bool xtiled, bool ytiled) {
  if (!cr_ || !frame || fade == 0 || !Meets(dest, paint_rect)) return;
  const UiRect src = source.Intersect({0, 0, frame->width(), frame->height()});
  if (src.IsEmpty()) return;
  const UiRect dc = GlobalResources::Instance().ScaleRect(corner);  // destination insets
  const UiRect& sc = corner;                                          // source insets
  const double opacity = fade / 255.0;
  cairo_surface_t* picture = frame->surface();

  auto piece = [&](const UiRect& s, const UiRect& d) {
    if (Meets(d, paint_rect)) DrawPiece(picture, s, d, opacity);
  };

  // Pass 1: the middle, stretched or tiled.
  const UiRect sm{src.left + sc.left, src.top + sc.top, src.right - sc.right, src.bottom - sc.bottom};
  const UiRect dm{dest.left + dc.left, dest.top + dc.top, dest.right - dc.right, dest.bottom - dc.bottom};
  if (!sm.IsEmpty() && !dm.IsEmpty() && Meets(dm, paint_rect)) {
    const int sw = sm.Width(), sh = sm.Height();
    if (xtiled && ytiled) {
      for (int y = dm.top; y < dm.bottom; y += sh) {
        const int h = std::min(sh, dm.bottom - y);
        for (int x = dm.left; x < dm.right; x += sw) {
          const int w = std::min(sw, dm.right - x);
          piece({sm.left, sm.top, sm.left + w, sm.top + h}, {x, y, x + w, y + h});
        }
      }
    } else if (xtiled) {
      for (int x = dm.left; x < dm.right; x += sw) {
        const int w = std::min(sw, dm.right - x);
        piece({sm.left, sm.top, sm.left + w, sm.bottom}, {x, dm.top, x + w, dm.bottom});
      }
    } else if (ytiled) {
      for (int y = dm.top; y < dm.bottom; y += sh) {
        const int h = std::min(sh, dm.bottom - y);
        piece({sm.left, sm.top, sm.right, sm.top + h}, {dm.left, y, dm.right, y + h});
      }
    } else {
      DrawPiece(picture, sm, dm, opacity);
    }
  }

  // Pass 2: corners and edges, top row first.
  if (sc.left > 0 && sc.top > 0)
    piece({src.left, src.top, sm.left, sm.top}, {dest.left, dest.top, dm.left, dm.top});
  if (sc.top > 0) piece({sm.left, src.top, sm.right, sm.top}, {dm.left, dest.top, dm.right, dm.top});
  if (sc.right > 0 && sc.top > 0)
    piece({sm.right, src.top, src.right, sm.top}, {dm.right, dest.top, dest.right, dm.top});
  if (sc.left > 0) piece({src.left, sm.top, sm.left, sm.bottom}, {dest.left, dm.top, dm.left, dm.bottom});
  if (sc.right > 0) piece({sm.right, sm.top, src.right, sm.bottom}, {dm.right, dm.top, dest.right, dm.bottom});
  if (sc.left > 0 && sc.bottom > 0)
    piece({src.left, sm.bottom, sm.left, src.bottom}, {dest.left, dm.bottom, dm.left, dest.bottom});
  if (sc.bottom > 0) piece({sm.left, sm.bottom, sm.right, src.bottom}, {dm.left, dm.bottom, dm.right, dest.bottom});
  if (sc.right > 0 && sc.bottom > 0)
    piece({sm.right, sm.bottom, src.right, src.bottom}, {dm.right, dm.bottom, dest.right, dest.bottom});
}

void RenderContext_Cairo::DrawText(const UiRect& rect, const std::u16string& text, uint32_t argb, int font_index,
                                   uint32_t format, uint8_t alpha, bool line_limit) {
  DrawText(rect, text, argb, GlobalResources::Instance().FontHandle(font_index), format, alpha, line_limit);
}

UiRect RenderContext_Cairo::MeasureText(const std::u16string& text, int font_index, uint32_t format,
                                        int width_limit) {
  return MeasureText(text, GlobalResources::Instance().FontHandle(font_index), format, width_limit);
}

void RenderContext_Cairo::DrawText(const UiRect& rect, const std::u16string& text, uint32_t argb, const Font* font,
                                   uint32_t format, uint8_t alpha, bool line_limit) {
  if (!cr_ || text.empty()) return;
  int a = static_cast<int>(argb >> 24) * alpha / 255;
  if (a == 0) return;
  if (a == 255) a = 254;
  if (!font) font = &Font::Default();
  const TextEngine& engine = TextEngine::Get();
  const bool single_line = format & kTextSingleLine;
  const bool ellipsis = format & kTextEndEllipsis;
  const int width = rect.Width();
  const int height = rect.Height();

  PangoLayout* layout = engine.NewLayout(text, *font, single_line);
  // Horizontal centre wins over right.
  const int h_align = (format & kTextCenter) ? 1 : (format & kTextRight) ? 2 : 0;
  if (single_line) {
    // One line, placed by hand; cut with an ellipsis to the rectangle's width.
    if (ellipsis && width > 0) {
      pango_layout_set_width(layout, width * PANGO_SCALE);
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
  } else if (width > 0) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, h_align == 1   ? PANGO_ALIGN_CENTER
                                       : h_align == 2 ? PANGO_ALIGN_RIGHT
                                                      : PANGO_ALIGN_LEFT);
    if (ellipsis) {
      // The last line that fits ends with the ellipsis.
      pango_layout_set_height(layout, std::max(height, 1) * PANGO_SCALE);
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
  }

  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  double text_width = PangoToPixels(logical.width);
  double text_height = PangoToPixels(logical.height);
  if (line_limit) {
    // Only lines that fit whole are shown; they are what gets placed.
    double shown = 0;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
      PangoRectangle line;
      pango_layout_iter_get_line_extents(iter, nullptr, &line);
      const double bottom = PangoToPixels(line.y + line.height);
      if (bottom > height) break;
      shown = bottom;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    text_height = shown;
    if (shown <= 0) {
      g_object_unref(layout);
      return;
    }
  }

  double x = rect.left;
  if (single_line || width <= 0) {
    if (h_align == 1)
      x += (width - text_width) / 2;
    else if (h_align == 2)
      x += width - text_width;
    x -= PangoToPixels(logical.x);
  }
  double y = rect.top;
  if (format & kTextVCenter) {
    y += (height - text_height) / 2;
    if (font->face() == kSimSunFontFace && height >= font->pixel_size() + 2) y += 1;
  } else if (format & kTextBottom) {
    y += height - text_height;
  }

  // Whole pixels keep glyphs crisp and placement predictable.
  x = std::round(x);
  y = std::round(y);
  cairo_save(cr_);
  if (!(format & kTextNoClip)) {
    cairo_rectangle(cr_, rect.left, rect.top, width, height);
    cairo_clip(cr_);
  }
  if (line_limit) {  // hides what lies below the last whole line
    cairo_rectangle(cr_, rect.left - 0x10000, y, 0x20000 + width, std::ceil(text_height));
    cairo_clip(cr_);
  }
  SetSourceArgb(cr_, argb, a);
  cairo_move_to(cr_, x, y);
  pango_cairo_show_layout(cr_, layout);
  cairo_restore(cr_);
  g_object_unref(layout);
}

UiRect RenderContext_Cairo::MeasureText(const std::u16string& text, const Font* font, uint32_t format,
                                        int width_limit) {
  if (text.empty()) return {0, 0, 1, 1};
  if (!font) font = &Font::Default();
  const TextEngine& engine = TextEngine::Get();
  const bool single_line = format & kTextSingleLine;
  PangoLayout* layout = engine.NewLayout(text, *font, single_line);
  // -1 and 0 both leave the area unbounded.
  const bool bounded = width_limit > 0;
  if (bounded && !single_line) {
    pango_layout_set_width(layout, width_limit * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  double width = PangoToPixels(logical.width);
  double height = PangoToPixels(logical.height);
  if (bounded) width = std::min(width, static_cast<double>(width_limit));
  if (single_line && width_limit != -1) height = std::min(height, engine.SampleLineHeight(*font));
  return {0, 0, static_cast<int>(width + 1), static_cast<int>(height + 1)};
}

void RenderContext_Cairo::AlphaBlend(const IRenderContext& source, const UiPoint& place, uint8_t alpha) {
  const auto* cairo_source = dynamic_cast<const RenderContext_Cairo*>(&source);
  if (!cr_ || !cairo_source || !cairo_source->surface_ || alpha == 0) return;
  const UiSize size = cairo_source->GetSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  cairo_surface_flush(cairo_source->surface_);
  cairo_save(cr_);
  cairo_rectangle(cr_, place.x, place.y, size.cx, size.cy);
  cairo_clip(cr_);
  cairo_set_source_surface(cr_, cairo_source->surface_, place.x, place.y);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  if (alpha == 255)
    cairo_paint(cr_);
  else
    cairo_paint_with_alpha(cr_, alpha / 255.0);
  cairo_restore(cr_);
}

}  // namespace ui
