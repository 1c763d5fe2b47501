// Draws every picture of the installer's skin package, in the three density variants, into
// resources/themes/<variant>/. The art lives here as code so that it can be changed and redrawn
// reproducibly: run `lumora-skin-art <resources folder>` and commit the PNGs it writes.
//
// All sizes below are in base (100 %) units unless a name says "px"; `s` is the variant's factor
// (1, 1.25, 1.5) for density-dependent pictures and 1 for the others.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/skin-art/skin_art_palette.h"

namespace fs = std::filesystem;

namespace {

using skinart::Rgb;
namespace pal = skinart::palette;

void SetRgb(cairo_t* cr, Rgb c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// Brand gradient, blue at the start and teal at the end of the given line.
cairo_pattern_t* BrandGradient(double x0, double y0, double x1, double y1, Rgb from = pal::kBlue,
                               Rgb to = pal::kTeal) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, from.r, from.g, from.b);
  cairo_pattern_add_color_stop_rgb(p, 1, to.r, to.g, to.b);
  return p;
}

void FillWith(cairo_t* cr, cairo_pattern_t* p) {
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// Three passes of a box blur approximate a Gaussian; used for the soft shadows. Works on the
// alpha channel of an ARGB32 surface whose colour is uniform (premultiplied black).
void BlurAlpha(cairo_surface_t* surface, int radius) {
  if (radius < 1) return;
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<double> a(static_cast<size_t>(w) * h), tmp(a.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      a[y * w + x] = reinterpret_cast<uint32_t*>(data + y * stride)[x] >> 24;
  auto pass = [&](std::vector<double>& src, std::vector<double>& dst, bool horizontal) {
    const int n = horizontal ? w : h, lines = horizontal ? h : w;
    for (int l = 0; l < lines; ++l) {
      for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int k = -radius; k <= radius; ++k) {
          const int j = std::clamp(i + k, 0, n - 1);
          sum += horizontal ? src[l * w + j] : src[j * w + l];
        }
        (horizontal ? dst[l * w + i] : dst[i * w + l]) = sum / (2 * radius + 1);
      }
    }
  };
  for (int i = 0; i < 3; ++i) {
    pass(a, tmp, true);
    pass(tmp, a, false);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t alpha = static_cast<uint32_t>(std::lround(std::clamp(a[y * w + x], 0.0, 255.0)));
      reinterpret_cast<uint32_t*>(data + y * stride)[x] = alpha << 24;
    }
  cairo_surface_mark_dirty(surface);
}

// A soft shadow of a rounded rectangle, painted onto `cr` with the given colour and opacity.
void SoftShadow(cairo_t* cr, int w, int h, double x, double y, double rw, double rh, double radius,
                int blur, Rgb color, double opacity) {
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* m = cairo_create(mask);
  RoundedRect(m, x, y, rw, rh, radius);
  cairo_set_source_rgba(m, 0, 0, 0, 1);
  cairo_fill(m);
  cairo_destroy(m);
  BlurAlpha(mask, blur);
  SetRgb(cr, color, opacity);
  cairo_mask_surface(cr, mask, 0, 0);
  cairo_surface_destroy(mask);
}

// ---------------------------------------------------------------------------------------------
// basic/

// The window's top band: brand gradient, a soft pattern of light rings and a fading dot grid.
// The same picture is also shown squeezed to 40 high on the exit page, so the pattern is
// kept faint and the main colour change runs from left to right.
void DrawTopBand(cairo_t* cr, int w, int h, double s) {
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w, h * 0.6);
  cairo_pattern_add_color_stop_rgb(g, 0.0, pal::kBandStart.r, pal::kBandStart.g, pal::kBandStart.b);
  cairo_pattern_add_color_stop_rgb(g, 0.55, pal::kBandMiddle.r, pal::kBandMiddle.g, pal::kBandMiddle.b);
  cairo_pattern_add_color_stop_rgb(g, 1.0, pal::kBandEnd.r, pal::kBandEnd.g, pal::kBandEnd.b);
  FillWith(cr, g);

  // A light glow behind the logo's place, top centre.
  cairo_pattern_t* glow = cairo_pattern_create_radial(w / 2.0, 100 * s, 0, w / 2.0, 100 * s, 230 * s);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 1, 0.16);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 1, 0);
  cairo_rectangle(cr, 0, 0, w, h);
  FillWith(cr, glow);

  // Concentric rings, lower left and upper right, as if light fell through a lens.
  auto rings = [&](double cx, double cy, double r0, int count, double step, double alpha) {
    cairo_set_line_width(cr, 1.2 * s);
    for (int i = 0; i < count; ++i) {
      cairo_arc(cr, cx, cy, r0 + i * step, 0, 2 * M_PI);
      cairo_set_source_rgba(cr, 1, 1, 1, alpha * (1.0 - i / static_cast<double>(count + 1)));
      cairo_stroke(cr);
    }
  };
  rings(40 * s, 250 * s, 60 * s, 6, 26 * s, 0.10);
  rings(560 * s, 10 * s, 40 * s, 6, 24 * s, 0.10);

  // Two large, very faint discs give the band depth.
  cairo_arc(cr, 520 * s, 230 * s, 150 * s, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
  cairo_fill(cr);
  cairo_arc(cr, 90 * s, -40 * s, 130 * s, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
  cairo_fill(cr);

  // A dot grid on the right that fades out towards the centre.
  const double step = 14 * s;
  for (double y = step / 2; y < h; y += step) {
    for (double x = w * 0.62; x < w; x += step) {
      const double t = (x - w * 0.62) / (w * 0.38);
      const double alpha = 0.13 * t * (1.0 - 0.5 * y / h);
      cairo_arc(cr, x, y, 1.1 * s, 0, 2 * M_PI);
      cairo_set_source_rgba(cr, 1, 1, 1, alpha);
      cairo_fill(cr);
    }
  }

  // A darker hairline would look like a border when squeezed; keep only a soft shade at the
  // very bottom so the band ends cleanly on the light window background.
  cairo_pattern_t* shade = cairo_pattern_create_linear(0, h - 24 * s, 0, h);
  cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0.1, 0.25, 0);
  cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0.1, 0.25, 0.08);
  cairo_rectangle(cr, 0, h - 24 * s, w, 24 * s);
  FillWith(cr, shade);
}

// The product logo: a white tile with a picture (hills, sun) and a round "convert" badge.
void DrawLogo(cairo_t* cr, int w, int /*h*/, double s) {
  const double u = w / 80.0;  // logo unit: the tile is drawn on an 80-unit grid
  (void)s;
  const double tx = 7 * u, ty = 6 * u, tw = 66 * u, tr = 17 * u;

  SoftShadow(cr, w, w, tx, ty + 2.5 * u, tw, tw, tr, static_cast<int>(std::lround(2.5 * u)),
             pal::kShadowInk, 0.35);
  RoundedRect(cr, tx, ty, tw, tw, tr);
  cairo_pattern_t* tile = cairo_pattern_create_linear(0, ty, 0, ty + tw);
  cairo_pattern_add_color_stop_rgb(tile, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(tile, 1, 0.93, 0.96, 0.99);
  FillWith(cr, tile);

  // Picture frame.
  const double fx = 18 * u, fy = 19 * u, fw = 44 * u, fh = 38 * u, fr = 6 * u;
  cairo_save(cr);
  RoundedRect(cr, fx, fy, fw, fh, fr);
  cairo_clip(cr);
  cairo_rectangle(cr, fx, fy, fw, fh);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, fy, 0, fy + fh);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.87, 0.94, 1.0);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.82, 0.96, 0.94);
  FillWith(cr, sky);
  // Sun.
  cairo_arc(cr, 51 * u, 29 * u, 4.6 * u, 0, 2 * M_PI);
  SetRgb(cr, pal::kSun);
  cairo_fill(cr);
  // Back hill (teal), front hill (blue).
  cairo_move_to(cr, fx - 2 * u, 60 * u);
  cairo_line_to(cr, 42 * u, 36 * u);
  cairo_curve_to(cr, 44 * u, 35 * u, 46 * u, 35 * u, 48 * u, 36.5 * u);
  cairo_line_to(cr, 66 * u, 48 * u);
  cairo_line_to(cr, 66 * u, 60 * u);
  cairo_close_path(cr);
  SetRgb(cr, pal::kTeal, 0.85);
  cairo_fill(cr);
  cairo_move_to(cr, fx - 2 * u, 60 * u);
  cairo_line_to(cr, fx - 2 * u, 49 * u);
  cairo_line_to(cr, 27 * u, 37 * u);
  cairo_curve_to(cr, 29 * u, 35.8 * u, 31 * u, 35.8 * u, 33 * u, 37 * u);
  cairo_line_to(cr, 52 * u, 60 * u);
  cairo_close_path(cr);
  FillWith(cr, BrandGradient(fx, fy, fx + fw, fy + fh, pal::kBlue, pal::kBlueDeep));
  cairo_restore(cr);

  // Convert badge, bottom right: brand disc with a white ring and two circling arrows.
  const double bx = 59 * u, by = 57 * u, br = 11 * u;
  cairo_arc(cr, bx, by, br + 2.2 * u, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
  FillWith(cr, BrandGradient(bx - br, by - br, bx + br, by + br, pal::kBlue, pal::kTeal));
  const double ar = 5.6 * u;
  cairo_set_line_width(cr, 2.0 * u);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, 1, 1, 1);
  for (int i = 0; i < 2; ++i) {
    const double a0 = M_PI * (i == 0 ? 1.05 : 0.05), a1 = a0 + M_PI * 0.72;
    cairo_arc(cr, bx, by, ar, a0, a1);
    cairo_stroke(cr);
    // Arrow head at the end of the arc, pointing along the direction of travel.
    const double ex = bx + ar * std::cos(a1), ey = by + ar * std::sin(a1);
    const double tx2 = -std::sin(a1), ty2 = std::cos(a1);  // tangent
    const double nx = std::cos(a1), ny = std::sin(a1);     // outward normal
    const double head = 3.2 * u;
    cairo_move_to(cr, ex + tx2 * head * 0.9, ey + ty2 * head * 0.9);
    cairo_line_to(cr, ex + nx * head * 0.85 - tx2 * head * 0.35, ey + ny * head * 0.85 - ty2 * head * 0.35);
    cairo_line_to(cr, ex - nx * head * 0.85 - tx2 * head * 0.35, ey - ny * head * 0.85 - ty2 * head * 0.35);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

// Expand arrows beside "custom install": a chevron pointing down (closed) or up (open).
void DrawChevron(cairo_t* cr, int w, bool up) {
  const double u = w / 16.0;
  cairo_set_line_width(cr, 1.6 * u);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  const double y0 = up ? 10 * u : 6 * u, y1 = up ? 6 * u : 10 * u;
  cairo_move_to(cr, 4 * u, y0);
  cairo_line_to(cr, 8 * u, y1);
  cairo_line_to(cr, 12 * u, y0);
  SetRgb(cr, pal::kText666);
  cairo_stroke(cr);
}

// ---------------------------------------------------------------------------------------------
// public/button/

enum class ButtonState { kNormal, kHovered, kPushed };

// The 80 x 30 buttons are nine-grid pictures (corner 8): the rounding stays inside the corner.
void DrawBlueButton(cairo_t* cr, int w, int h, ButtonState state) {
  const double r = 5;
  Rgb from = pal::kBlue, to = pal::kTealButton;
  if (state == ButtonState::kHovered) {
    from = skinart::Mix(pal::kBlue, {1, 1, 1}, 0.14);
    to = skinart::Mix(pal::kTealButton, {1, 1, 1}, 0.14);
  } else if (state == ButtonState::kPushed) {
    from = skinart::Mix(pal::kBlue, {0, 0, 0.1}, 0.18);
    to = skinart::Mix(pal::kTealButton, {0, 0, 0.1}, 0.18);
  }
  RoundedRect(cr, 0, 0, w, h, r);
  FillWith(cr, BrandGradient(0, 0, w, 0, from, to));
  if (state == ButtonState::kPushed) {
    // Pressed in: a shade along the top edge.
    cairo_save(cr);
    RoundedRect(cr, 0, 0, w, h, r);
    cairo_clip(cr);
    cairo_pattern_t* inner = cairo_pattern_create_linear(0, 0, 0, 6);
    cairo_pattern_add_color_stop_rgba(inner, 0, 0, 0.05, 0.2, 0.28);
    cairo_pattern_add_color_stop_rgba(inner, 1, 0, 0.05, 0.2, 0);
    cairo_rectangle(cr, 0, 0, w, 6);
    FillWith(cr, inner);
    cairo_restore(cr);
  } else {
    // A faint highlight on the upper half.
    cairo_save(cr);
    RoundedRect(cr, 0, 0, w, h, r);
    cairo_clip(cr);
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, state == ButtonState::kHovered ? 0.16 : 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 0.5, 1, 1, 1, 0);
    cairo_rectangle(cr, 0, 0, w, h);
    FillWith(cr, sheen);
    cairo_restore(cr);
  }
}

// The white buttons are stretched whole (no nine-grid), so they keep a 1-pixel outline and a
// small rounding that survive moderate stretching.
void DrawWhiteButton(cairo_t* cr, int w, int h, ButtonState state) {
  const double r = 4;
  Rgb fill = {1, 1, 1}, line = pal::kSplitLine;
  if (state == ButtonState::kHovered) {
    fill = pal::kHoverTint;
    line = skinart::Mix(pal::kBlue, {1, 1, 1}, 0.35);
  } else if (state == ButtonState::kPushed) {
    fill = pal::kPushedTint;
    line = pal::kBlue;
  }
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, r);
  SetRgb(cr, fill);
  cairo_fill_preserve(cr);
  SetRgb(cr, line);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void DrawCross(cairo_t* cr, double cx, double cy, double half, double width, Rgb color, double alpha) {
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetRgb(cr, color, alpha);
  cairo_move_to(cr, cx - half, cy - half);
  cairo_line_to(cr, cx + half, cy + half);
  cairo_move_to(cr, cx + half, cy - half);
  cairo_line_to(cr, cx - half, cy + half);
  cairo_stroke(cr);
}

// Window buttons on the blue band: a white glyph, with a light disc behind it when hovered and
// a stronger one when pushed.
void DrawBandButtonDisc(cairo_t* cr, int w, ButtonState state) {
  if (state == ButtonState::kNormal) return;
  cairo_arc(cr, w / 2.0, w / 2.0, w / 2.0, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 1, 1, 1, state == ButtonState::kHovered ? 0.22 : 0.38);
  cairo_fill(cr);
}

void DrawWhiteClose(cairo_t* cr, int w, ButtonState state) {
  DrawBandButtonDisc(cr, w, state);
  const double u = w / 24.0;
  DrawCross(cr, w / 2.0, w / 2.0, 4.6 * u, 1.7 * u, {1, 1, 1}, 1.0);
}

void DrawWhiteMin(cairo_t* cr, int w, ButtonState state) {
  DrawBandButtonDisc(cr, w, state);
  const double u = w / 20.0;
  cairo_set_line_width(cr, 1.6 * u);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_move_to(cr, 6 * u, 10 * u);
  cairo_line_to(cr, 14 * u, 10 * u);
  cairo_stroke(cr);
}

// The message box's close button: a grey cross that turns red on a light red disc.
void DrawGrayClose(cairo_t* cr, int w, bool hovered) {
  const double u = w / 12.0;
  if (hovered) {
    cairo_arc(cr, w / 2.0, w / 2.0, w / 2.0, 0, 2 * M_PI);
    SetRgb(cr, pal::kRed, 0.14);
    cairo_fill(cr);
  }
  DrawCross(cr, w / 2.0, w / 2.0, 2.9 * u, 1.35 * u, hovered ? pal::kRed : pal::kGray, 1.0);
}

// ---------------------------------------------------------------------------------------------
// public/ (caption, check box, progress, backgrounds)

void DrawCaption(cairo_t* cr, int w, int h) {
  cairo_rectangle(cr, 0, 0, w, h - 1);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h - 1);
  cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.965, 0.973, 0.98);
  FillWith(cr, g);
  cairo_rectangle(cr, 0, h - 1, w, 1);
  SetRgb(cr, pal::kSplitLine2);
  cairo_fill(cr);
}

void DrawCheckBox(cairo_t* cr, int w, bool checked) {
  const double u = w / 16.0;
  const double r = 3.2 * u;
  if (!checked) {
    // Whole-pixel outline so the empty box stays crisp at every density.
    const double lw = std::max(1.0, std::round(u));
    RoundedRect(cr, lw / 2, lw / 2, w - lw, w - lw, r);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    SetRgb(cr, pal::kCheckLine);
    cairo_set_line_width(cr, lw);
    cairo_stroke(cr);
    return;
  }
  RoundedRect(cr, 0, 0, w, w, r + 0.5 * u);
  FillWith(cr, BrandGradient(0, 0, w, w, pal::kBlue, pal::kTealButton));
  cairo_set_line_width(cr, 1.9 * u);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_move_to(cr, 4.0 * u, 8.3 * u);
  cairo_line_to(cr, 6.9 * u, 11.1 * u);
  cairo_line_to(cr, 12.2 * u, 5.2 * u);
  cairo_stroke(cr);
}

void DrawProgressTrack(cairo_t* cr, int w, int h) {
  cairo_rectangle(cr, 0, 0, w, h);
  SetRgb(cr, pal::kProgressTrack);
  cairo_fill(cr);
}

void DrawProgressFill(cairo_t* cr, int w, int h) {
  cairo_rectangle(cr, 0, 0, w, h);
  FillWith(cr, BrandGradient(0, 0, w, 0, pal::kBlue, pal::kProgressTeal));
}

// A veil that fades a picture into the window background from top to bottom.
void DrawImageMask(cairo_t* cr, int w, int h) {
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  const Rgb bg = pal::kMainWindow;
  cairo_pattern_add_color_stop_rgba(g, 0, bg.r, bg.g, bg.b, 0);
  cairo_pattern_add_color_stop_rgba(g, 0.6, bg.r, bg.g, bg.b, 0.65);
  cairo_pattern_add_color_stop_rgba(g, 1, bg.r, bg.g, bg.b, 1);
  FillWith(cr, g);
}

// The window shadow, a nine-grid with corners of 30: the window's content sits 14 pixels in
// from every edge (the shadow margin) and covers the middle.
void DrawWindowShadow(cairo_t* cr, int w, int h) {
  const double inset = 14;
  SoftShadow(cr, w, h, inset, inset + 1.5, w - 2 * inset, h - 2 * inset, 4, 4, pal::kShadowInk, 0.30);
  SoftShadow(cr, w, h, inset, inset, w - 2 * inset, h - 2 * inset, 3, 1, pal::kShadowInk, 0.14);
}

// ---------------------------------------------------------------------------------------------
// msgbox/ icons, 22 x 22: a coloured disc (or triangle) with a white glyph drawn as paths.

void DiscIcon(cairo_t* cr, int w, Rgb color) {
  cairo_arc(cr, w / 2.0, w / 2.0, w / 2.0 - 0.5, 0, 2 * M_PI);
  SetRgb(cr, color);
  cairo_fill(cr);
}

void DrawMsgIcon(cairo_t* cr, int w, const std::string& kind) {
  const double c = w / 2.0;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (kind == "error") {
    DiscIcon(cr, w, pal::kRed);
    DrawCross(cr, c, c, 3.8, 2.0, {1, 1, 1}, 1.0);
  } else if (kind == "ok") {
    DiscIcon(cr, w, pal::kGreen);
    cairo_set_line_width(cr, 2.1);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_move_to(cr, 6.3, 11.4);
    cairo_line_to(cr, 9.5, 14.5);
    cairo_line_to(cr, 15.8, 7.8);
    cairo_stroke(cr);
  } else if (kind == "infor") {
    DiscIcon(cr, w, pal::kBlue);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, c, 6.6, 1.35, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2.2);
    cairo_move_to(cr, c, 10.0);
    cairo_line_to(cr, c, 15.8);
    cairo_stroke(cr);
  } else if (kind == "question") {
    DiscIcon(cr, w, pal::kBlue);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2.0);
    cairo_arc(cr, c, 8.6, 3.1, M_PI * 1.05, M_PI * 2.25);
    cairo_line_to(cr, c, 12.4);
    cairo_line_to(cr, c, 13.0);
    cairo_stroke(cr);
    cairo_arc(cr, c, 16.2, 1.3, 0, 2 * M_PI);
    cairo_fill(cr);
  } else if (kind == "warning") {
    cairo_move_to(cr, c, 1.8);
    cairo_line_to(cr, w - 1.2, w - 2.6);
    cairo_line_to(cr, 1.2, w - 2.6);
    cairo_close_path(cr);
    SetRgb(cr, pal::kAmber);
    cairo_set_line_width(cr, 2.0);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2.1);
    cairo_move_to(cr, c, 8.0);
    cairo_line_to(cr, c, 12.8);
    cairo_stroke(cr);
    cairo_arc(cr, c, 16.0, 1.25, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

// ---------------------------------------------------------------------------------------------

struct Variant {
  const char* folder;
  double scale;
};

constexpr Variant kVariants[] = {{"default", 1.0}, {"default-hdpi", 1.25}, {"default-xhdpi", 1.5}};

struct Picture {
  std::string path;     // relative to the theme folder
  int base_w, base_h;   // size at 100 %
  bool density_scaled;  // drawn at 1.25 / 1.5 times in the -hdpi / -xhdpi variants
  std::function<void(cairo_t*, int w, int h, double s)> draw;
};

std::vector<Picture> Pictures() {
  using S = ButtonState;
  std::vector<Picture> p = {
      {"basic/bkg_top.png", 600, 256, true, DrawTopBand},
      {"basic/logo.png", 80, 80, true, DrawLogo},
      {"basic/icon_down.png", 16, 16, true, [](cairo_t* cr, int w, int, double) { DrawChevron(cr, w, false); }},
      {"basic/icon_up.png", 16, 16, true, [](cairo_t* cr, int w, int, double) { DrawChevron(cr, w, true); }},
      {"public/bk/bg_image_mask.png", 500, 130, false, [](cairo_t* cr, int w, int h, double) { DrawImageMask(cr, w, h); }},
      {"public/bk/bk_shadow.png", 68, 68, false, [](cairo_t* cr, int w, int h, double) { DrawWindowShadow(cr, w, h); }},
      {"public/caption/caption_public.png", 20, 34, false, [](cairo_t* cr, int w, int h, double) { DrawCaption(cr, w, h); }},
      {"public/checkbox/check.png", 16, 16, true, [](cairo_t* cr, int w, int, double) { DrawCheckBox(cr, w, true); }},
      {"public/checkbox/check_no.png", 16, 16, true, [](cairo_t* cr, int w, int, double) { DrawCheckBox(cr, w, false); }},
      {"public/progress/progress_blue_bg.png", 420, 3, false, [](cairo_t* cr, int w, int h, double) { DrawProgressTrack(cr, w, h); }},
      {"public/progress/progress_blue_fg.png", 420, 3, false, [](cairo_t* cr, int w, int h, double) { DrawProgressFill(cr, w, h); }},
      {"public/button/btn_wnd_gray_close.png", 12, 12, true, [](cairo_t* cr, int w, int, double) { DrawGrayClose(cr, w, false); }},
      {"public/button/btn_wnd_gray_close_hover.png", 12, 12, true, [](cairo_t* cr, int w, int, double) { DrawGrayClose(cr, w, true); }},
  };
  const std::pair<const char*, S> states[] = {{"normal", S::kNormal}, {"hovered", S::kHovered}, {"pushed", S::kPushed}};
  for (const auto& [name, state] : states) {
    const S st = state;
    p.push_back({std::string("public/button/btn_global_blue_80x30_") + name + ".png", 80, 30, false,
                 [st](cairo_t* cr, int w, int h, double) { DrawBlueButton(cr, w, h, st); }});
    p.push_back({std::string("public/button/btn_global_white_80x30_") + name + ".png", 80, 30, false,
                 [st](cairo_t* cr, int w, int h, double) { DrawWhiteButton(cr, w, h, st); }});
  }
  const std::pair<const char*, S> suffixes[] = {{"", S::kNormal}, {"_hovered", S::kHovered}, {"_pushed", S::kPushed}};
  for (const auto& [suffix, state] : suffixes) {
    const S st = state;
    p.push_back({std::string("public/button/btn_wnd_white_close") + suffix + ".png", 24, 24, true,
                 [st](cairo_t* cr, int w, int, double) { DrawWhiteClose(cr, w, st); }});
    p.push_back({std::string("public/button/btn_wnd_white_min") + suffix + ".png", 20, 20, false,
                 [st](cairo_t* cr, int w, int, double) { DrawWhiteMin(cr, w, st); }});
  }
  for (const char* kind : {"error", "infor", "ok", "question", "warning"}) {
    const std::string k = kind;
    p.push_back({"msgbox/" + k + ".png", 22, 22, false,
                 [k](cairo_t* cr, int w, int, double) { DrawMsgIcon(cr, w, k); }});
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  if (!fs::is_directory(root / "themes")) {
    std::fprintf(stderr, "%s has no themes folder\n", root.c_str());
    return 1;
  }
  int written = 0;
  for (const Variant& v : kVariants) {
    for (const Picture& pic : Pictures()) {
      const double s = pic.density_scaled ? v.scale : 1.0;
      const int w = static_cast<int>(std::lround(pic.base_w * s));
      const int h = static_cast<int>(std::lround(pic.base_h * s));
      cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
      cairo_t* cr = cairo_create(surface);
      pic.draw(cr, w, h, s);
      cairo_destroy(cr);
      const fs::path out = root / "themes" / v.folder / pic.path;
      std::error_code ec;
      fs::create_directories(out.parent_path(), ec);
      const cairo_status_t status = cairo_surface_write_to_png(surface, out.c_str());
      cairo_surface_destroy(surface);
      if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "cannot write %s: %s\n", out.c_str(), cairo_status_to_string(status));
        return 1;
      }
      ++written;
    }
  }
  std::printf("wrote %d pictures under %s\n", written, (root / "themes").c_str());
  return 0;
}
