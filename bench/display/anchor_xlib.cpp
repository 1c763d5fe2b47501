// Anchor: the least a program can do to show one line of text on X11, with the
// same libraries the platform layer uses (Xlib, Cairo, Pango). Prints
// "first-frame <monotonic ns> <peak resident kB>" once the X server has the frame.
#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <pango/pangocairo.h>
#include <time.h>

#include <cstdio>

#include "bench/display/peak_memory.h"

int main() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const int screen = DefaultScreen(d);
  const Window w = XCreateSimpleWindow(d, RootWindow(d, screen), 326, 298, 628, 428, 0, 0, WhitePixel(d, screen));
  XSelectInput(d, w, ExposureMask);
  XMapWindow(d, w);
  XEvent ev;
  do {
    XNextEvent(d, &ev);
  } while (ev.type != Expose);
  cairo_surface_t* surface = cairo_xlib_surface_create(d, w, DefaultVisual(d, screen), 628, 428);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0, 0, 0);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Sans 14px");
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "Verimo图片转换器", -1);
  cairo_move_to(cr, 30, 30);
  pango_cairo_show_layout(cr, layout);
  cairo_surface_flush(surface);
  XSync(d, False);
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  std::printf("first-frame %lld %ld\n", static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec, PeakResidentKb());
  std::fflush(stdout);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  XCloseDisplay(d);
  return 0;
}
