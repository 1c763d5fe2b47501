// Composited mock-ups of the installer's windows, drawn from the packaged pictures with the
// positions of "basic.xml" and "msgbox.xml" worked out by hand. They show the art in place
// (band, logo, buttons, check boxes, progress, shadow) at 100, 125 and 150 % without the UI
// framework, for reviewing a change to the pictures:
//
//   lumora-skin-mockup <resources folder> <output folder>
//
// Fonts: "system" of the style sheet is drawn with the desktop's CJK sans face, sizes in pixels
// times the scale, as the framework does.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/skin-art/skin_art_palette.h"

namespace fs = std::filesystem;
using skinart::Hex;
using skinart::Rgb;
namespace pal = skinart::palette;

namespace {

constexpr const char* kFace = "Noto Sans CJK SC";

// The style sheet's font table: size and weight by number.
struct FontSpec {
  int size;
  bool bold;
  bool underline;
};
FontSpec Font(int n) {
  static const int plain[] = {10, 12, 14, 16, 18};
  if (n < 20) return {plain[n % 5], (n / 5) % 2 == 1, false};
  switch (n) {
    case 20: return {20, false, false};
    case 21: return {20, true, false};
    case 22: return {22, false, false};
    case 23: return {22, true, false};
    case 24: return {12, false, true};
    case 25: return {24, false, false};
    case 26: return {14, false, true};
    case 27: return {16, false, true};
    default: return {32, false, false};
  }
}

class Canvas {
 public:
  Canvas(const fs::path& theme, double scale, int base_w, int base_h)
      : theme_(theme), s_(scale) {
    const int margin = S(14);
    w_ = S(base_w) + 2 * margin;
    h_ = S(base_h) + 2 * margin;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w_, h_);
    cr_ = cairo_create(surface_);
    // Backdrop, so the window's shadow shows.
    cairo_set_source_rgb(cr_, 0.86, 0.88, 0.91);
    cairo_paint(cr_);
    NineGrid("public/bk/bk_shadow.png", 0, 0, w_, h_, 30, 30, 30, 30, 1.0, false);
    cairo_translate(cr_, margin, margin);
    // Content clip with the frame's 3 x 3 rounding.
    RoundedClip(S(base_w), S(base_h), S(3));
  }
  ~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }

  int S(double v) const { return static_cast<int>(std::lround(v * s_)); }

  void Fill(double x, double y, double w, double h, Rgb c) {
    cairo_rectangle(cr_, S(x), S(y), S(w), S(h));
    cairo_set_source_rgb(cr_, c.r, c.g, c.b);
    cairo_fill(cr_);
  }
  void Outline(double x, double y, double w, double h, Rgb c) {
    cairo_rectangle(cr_, S(x) + 0.5, S(y) + 0.5, S(w) - 1, S(h) - 1);
    cairo_set_source_rgb(cr_, c.r, c.g, c.b);
    cairo_set_line_width(cr_, 1);
    cairo_stroke(cr_);
  }

  // A picture stretched into a base-unit rectangle, optionally as a nine-grid (insets in
  // picture pixels, scaled on the destination side).
  void Image(const std::string& rel, double x, double y, double w, double h, int corner = 0,
             double alpha = 1.0) {
    NineGrid(rel, S(x), S(y), S(w), S(h), corner, corner, corner, corner, alpha, true);
  }
  void ImageCorners(const std::string& rel, double x, double y, double w, double h, int l, int t,
                    int r, int b) {
    NineGrid(rel, S(x), S(y), S(w), S(h), l, t, r, b, 1.0, true);
  }

  // Text with its top-left corner at (x, y), or centred in a box when w > 0. Returns the
  // text's size in base units.
  std::pair<double, double> Text(const std::string& text, int font, Rgb c, double x, double y,
                                 double w = 0, double h = 0, double wrap = 0) {
    PangoLayout* layout = Layout(text, font);
    if (wrap > 0) pango_layout_set_width(layout, S(wrap) * PANGO_SCALE);
    int tw, th;
    pango_layout_get_pixel_size(layout, &tw, &th);
    double px = S(x), py = S(y);
    if (w > 0) px = S(x) + (S(w) - tw) / 2.0;
    if (h > 0) py = S(y) + (S(h) - th) / 2.0;
    cairo_move_to(cr_, std::round(px), std::round(py));
    cairo_set_source_rgb(cr_, c.r, c.g, c.b);
    pango_cairo_show_layout(cr_, layout);
    g_object_unref(layout);
    return {tw / s_, th / s_};
  }
  std::pair<double, double> Measure(const std::string& text, int font) {
    PangoLayout* layout = Layout(text, font);
    int tw, th;
    pango_layout_get_pixel_size(layout, &tw, &th);
    g_object_unref(layout);
    return {tw / s_, th / s_};
  }

  bool Save(const fs::path& out) {
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, out.c_str()) == CAIRO_STATUS_SUCCESS;
  }

 private:
  PangoLayout* Layout(const std::string& text, int font) {
    const FontSpec f = Font(font);
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, kFace);
    pango_font_description_set_absolute_size(desc, S(f.size) * PANGO_SCALE);
    pango_font_description_set_weight(desc, f.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if (f.underline) {
      PangoAttrList* attrs = pango_attr_list_new();
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      pango_layout_set_attributes(layout, attrs);
      pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout, text.c_str(), -1);
    return layout;
  }

  void RoundedClip(double w, double h, double r) {
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, w - r, r, r, -M_PI / 2, 0);
    cairo_arc(cr_, w - r, h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, r, h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, r, r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
    cairo_clip(cr_);
  }

  // Nine-grid drawing as the framework does it: source insets in picture pixels, destination
  // insets scaled (when `scale_insets`), edges and middle stretched.
  void NineGrid(const std::string& rel, double dx, double dy, double dw, double dh, int l, int t,
                int r, int b, double alpha, bool scale_insets) {
    cairo_surface_t* img = cairo_image_surface_create_from_png((theme_ / rel).c_str());
    if (cairo_surface_status(img) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "missing picture %s\n", rel.c_str());
      cairo_surface_destroy(img);
      return;
    }
    const double iw = cairo_image_surface_get_width(img), ih = cairo_image_surface_get_height(img);
    const double k = scale_insets ? s_ : 1.0;
    const double sx[4] = {0, double(l), iw - r, iw}, sy[4] = {0, double(t), ih - b, ih};
    const double ex[4] = {dx, dx + std::round(l * k), dx + dw - std::round(r * k), dx + dw};
    const double ey[4] = {dy, dy + std::round(t * k), dy + dh - std::round(b * k), dy + dh};
    for (int j = 0; j < 3; ++j) {
      for (int i = 0; i < 3; ++i) {
        const double sw = sx[i + 1] - sx[i], sh = sy[j + 1] - sy[j];
        const double w = ex[i + 1] - ex[i], h = ey[j + 1] - ey[j];
        if (sw <= 0 || sh <= 0 || w <= 0 || h <= 0) continue;
        cairo_save(cr_);
        cairo_rectangle(cr_, ex[i], ey[j], w, h);
        cairo_clip(cr_);
        cairo_translate(cr_, ex[i], ey[j]);
        cairo_scale(cr_, w / sw, h / sh);
        cairo_set_source_surface(cr_, img, -sx[i], -sy[j]);
        cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
        cairo_paint_with_alpha(cr_, alpha);
        cairo_restore(cr_);
      }
    }
    cairo_surface_destroy(img);
  }

  fs::path theme_;
  double s_;
  int w_ = 0, h_ = 0;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

const Rgb kWhite = {1, 1, 1};
const Rgb kRedText = Hex(0xC63535);
const Rgb kLinkBlue = Hex(0x006DD9);
const Rgb kDarkGray = Hex(0x72797f);

// Common frame of "basic.xml": background, band and close button. The client box starts at
// (30, 30) and ends 30 before the right edge.
void MainFrame(Canvas& c, bool tall_band, bool close_button, int height = 400) {
  c.Fill(0, 0, 600, height, pal::kMainWindow);
  c.Image("basic/bkg_top.png", 0, 0, 600, tall_band ? 256 : 40);
  if (close_button) c.Image("public/button/btn_wnd_white_close.png", 600 - 11 - 24, 10, 24, 24);
}

constexpr double kClientX = 30, kClientY = 30, kClientW = 540;

double LogoAndName(Canvas& c, const std::string& name, double logo_top, int font = 28) {
  c.Image("basic/logo.png", kClientX + (kClientW - 80) / 2, kClientY + logo_top, 80, 80);
  const double y = kClientY + logo_top + 80 + 30;
  const auto size = c.Text(name, font, kWhite, kClientX, y, kClientW);
  return y + size.second;
}

void BlueButton(Canvas& c, const std::string& state, const std::string& text, int font, double x,
                double y, double w, double h) {
  c.Image("public/button/btn_global_blue_80x30_" + state + ".png", x, y, w, h, 8);
  c.Text(text, font, kWhite, x, y, w, h);
}

void WhiteButton(Canvas& c, const std::string& state, const std::string& text, int font, Rgb color,
                 double x, double y, double w, double h, double alpha = 1.0) {
  c.Image("public/button/btn_global_white_80x30_" + state + ".png", x, y, w, h, 0, alpha);
  c.Text(text, font, color, x, y, w, h);
}

void Welcome(Canvas& c, bool expanded) {
  MainFrame(c, true, true, expanded ? 448 : 400);
  const double bottom = LogoAndName(c, "Verimo图片转换器", 34);
  BlueButton(c, "hovered", "立即安装", 25, kClientX + (kClientW - 240) / 2, bottom + 65, 240, 52);
  // Bottom bar: "custom install" and the expand arrow at the right, 26 in from the edge.
  const auto t = c.Measure("自定义安装", 2);
  const double bar_y = 400 - 10 - t.second;
  const double icon_x = kClientX + kClientW - 26 - 16;
  c.Text("自定义安装", 2, pal::kText666, icon_x - 4 - t.first, bar_y);
  c.Image(expanded ? "basic/icon_up.png" : "basic/icon_down.png", icon_x, bar_y + (t.second - 16) / 2, 16, 16);
  if (!expanded) return;
  // Custom-install bar, 48 high under the bottom bar: split line, label, path, change button.
  const double y = 400;
  c.Fill(kClientX, y, kClientW, 1, pal::kSplitLine);
  const double row_y = y + 1, row_h = 47, left = kClientX + 26;
  const auto label = c.Measure("安装位置", 2);
  c.Text("安装位置", 2, pal::kText666, left, row_y, 0, row_h);
  const double edit_x = left + label.first + 10, button_x = kClientX + kClientW - 26 - 80;
  const double edit_w = button_x - 10 - edit_x;
  const auto path = c.Measure("C:\\Program Files (x86)\\zorv\\lumora", 2);
  const double edit_h = path.second + 12;
  c.Fill(edit_x, row_y + (row_h - edit_h) / 2, edit_w, edit_h, kWhite);
  c.Outline(edit_x, row_y + (row_h - edit_h) / 2, edit_w, edit_h, pal::kSplitLine);
  c.Text("C:\\Program Files (x86)\\zorv\\lumora", 2, pal::kText666, edit_x + 6, row_y + (row_h - edit_h) / 2 + 6);
  WhiteButton(c, "normal", "更改目录", 2, pal::kText666, button_x, row_y + (row_h - 30) / 2, 80, 30);
}

void Install(Canvas& c, double percent, bool slow_hint) {
  MainFrame(c, true, false);
  const double bottom = LogoAndName(c, "Verimo图片转换器", 34);
  const double bar_y = bottom + 80, bar_x = kClientX + 20, bar_w = kClientW - 40;
  c.Image("public/progress/progress_blue_bg.png", bar_x, bar_y, bar_w, 6);
  c.Image("public/progress/progress_blue_fg.png", bar_x, bar_y, bar_w * percent / 100, 6);
  char text[128];
  std::snprintf(text, sizeof text, "正在下载，请不要关闭：%0.1f%%", percent);
  c.Text(text, 3, pal::kText333, kClientX, bar_y + 6 + 10 + 20, kClientW);
  if (slow_hint) {
    const auto link = c.Measure("下载完整安装包", 26);
    const auto label = c.Measure("安装过程太慢？", 2);
    const double y = 400 - 10 - link.second, x = kClientX + kClientW - 20 - link.first;
    c.Text("下载完整安装包", 26, kLinkBlue, x, y);
    c.Text("安装过程太慢？", 2, pal::kText666, x - label.first, y + (link.second - label.second) / 2);
  }
}

void ExitPage(Canvas& c) {
  MainFrame(c, false, false);
  double y = kClientY + 30;
  c.Text("恳请给个机会，体验图片功能", 28, kRedText, kClientX, y, kClientW);
  y += 40 + 20;  // the headline is 40 high
  const char* col1[] = {"本软件已经安装", "以前曾经安装过，不能满足要求", "下载错了，糊里糊涂下载了软件"};
  const char* col2[] = {"第六感不喜欢，不安全", "没有理由，就是不想安装"};
  const double col_x[2] = {kClientX, kClientX + kClientW / 2};
  for (int col = 0; col < 2; ++col) {
    const auto& texts = col == 0 ? std::vector<const char*>(std::begin(col1), std::end(col1))
                                 : std::vector<const char*>(std::begin(col2), std::end(col2));
    for (size_t i = 0; i < texts.size(); ++i) {
      const bool checked = (col == 0 && i == 2) || (col == 1 && i == 1);
      const double row_y = y + i * 32;
      c.Image(checked ? "public/checkbox/check.png" : "public/checkbox/check_no.png", col_x[col], row_y, 16, 16);
      c.Text(texts[i], 2, pal::kText666, col_x[col] + 20, row_y, 0, 16);
    }
  }
  y += 81 + 30;
  c.Text("其他原因", 2, pal::kText333, kClientX, y);
  y += 20;
  c.Fill(kClientX, y, kClientW, 95, kWhite);
  c.Outline(kClientX, y, kClientW, 95, pal::kSplitLine);
  c.Text("安装包太大了", 2, pal::kText666, kClientX + 6, y + 6);
  const double bar_y = 400 - 24 - 28;
  const double right = kClientX + kClientW;
  BlueButton(c, "normal", "继续安装", 2, right - 92, bar_y, 92, 28);
  WhiteButton(c, "normal", "直接退出", 2, kDarkGray, right - 92 - 10 - 60, bar_y, 60, 28, 128 / 255.0);
}

void Installed(Canvas& c) {
  MainFrame(c, true, true);
  const double bottom = LogoAndName(c, "安装成功", 34);
  BlueButton(c, "normal", "立即体验", 25, kClientX + (kClientW - 240) / 2, bottom + 80, 240, 52);
}

void Failed(Canvas& c) {
  MainFrame(c, true, true);
  double y = LogoAndName(c, "安装失败,请用完整安装包再次安装", 14, 22) + 8;
  y += c.Text("失败原因：下载失败（错误码 12029）", 10, kWhite, kClientX, y, kClientW).second;
  BlueButton(c, "normal", "下载完整安装包", 22, kClientX + (kClientW - 240) / 2, y + 80, 240, 52);
  c.Text("重新安装", 26, kLinkBlue, kClientX, y + 80 + 52 + 16, kClientW);
}

void MessageBox(Canvas& c) {
  c.Fill(0, 0, 340, 180, kWhite);
  c.ImageCorners("public/caption/caption_public.png", 0, 0, 340, 34, 0, 0, 0, 1);
  c.Text("提示", 2, pal::kText333, 10, 0, 0, 34);
  c.Image("public/button/btn_wnd_gray_close_hover.png", 340 - 5 - 20 + 4, 6 + 4, 12, 12);
  c.Text("建议尽快下载完整安装包安装 \"Verimo图片转换器\" 确定退出吗？", 3, pal::kText333, 20, 34 + 30, 0, 0, 300);
  const double y = 180 - 20 - 30;
  BlueButton(c, "normal", "下载完整安装包", 7, 340 - 20 - 130, y, 130, 30);
  WhiteButton(c, "hovered", "已经安装", 7, pal::kText333, 340 - 20 - 130 - 10 - 96, y, 96, 30);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <resources folder> <output folder>\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1], out = argv[2];
  std::error_code ec;
  fs::create_directories(out, ec);
  struct Variant {
    const char* folder;
    double scale;
    const char* suffix;
  };
  const Variant variants[] = {{"default", 1.0, "100"}, {"default-hdpi", 1.25, "125"}, {"default-xhdpi", 1.5, "150"}};
  bool ok = true;
  for (const Variant& v : variants) {
    const fs::path theme = root / "themes" / v.folder;
    auto save = [&](const char* name, int w, int h, auto draw) {
      Canvas c(theme, v.scale, w, h);
      draw(c);
      const fs::path file = out / (std::string("mockup-") + name + "-" + v.suffix + ".png");
      if (!c.Save(file)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        ok = false;
      }
    };
    save("welcome", 600, 400, [](Canvas& c) { Welcome(c, false); });
    save("msgbox", 340, 180, [](Canvas& c) { MessageBox(c); });
    if (v.scale != 1.0) continue;
    save("welcome-custom", 600, 448, [](Canvas& c) { Welcome(c, true); });
    save("install", 600, 400, [](Canvas& c) { Install(c, 46.3, true); });
    save("exit", 600, 400, [](Canvas& c) { ExitPage(c); });
    save("installed", 600, 400, [](Canvas& c) { Installed(c); });
    save("failed", 600, 400, [](Canvas& c) { Failed(c); });
  }
  return ok ? 0 : 1;
}
