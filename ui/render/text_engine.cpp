#include "ui/render/text_engine.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include "ui/markup/utf.h"

namespace ui {
namespace {

constexpr char kFontsConf[] =
#include "ui/render/fonts_conf.inc"
    ;

// The system configuration plus the program's aliases. When fontconfig cannot
// load at all, Pango's own default configuration is used (text still draws,
// with whatever faces that finds).
FcConfig* LoadFontConfig() {
  FcConfig* config = FcInitLoadConfig();
  if (!config) return nullptr;
  if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontsConf), FcTrue) ||
      !FcConfigBuildFonts(config)) {
    FcConfigDestroy(config);
    return nullptr;
  }
  return config;
}

}  // namespace

TextEngine& TextEngine::Get() {
  static TextEngine* engine = new TextEngine();  // lives as long as the process
  return *engine;
}

TextEngine::TextEngine() {
  // The configuration becomes the process's current one before the font map
  // exists, so the map starts with it, and other text users of the process
  // (the platform's own dialogs) see the same faces.
  if (FcConfig* config = LoadFontConfig()) {
    FcConfigSetCurrent(config);
    FcConfigDestroy(config);  // the current configuration keeps a reference
  }
  PangoFontMap* font_map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
  if (!font_map) font_map = pango_cairo_font_map_new();
  context_ = pango_font_map_create_context(font_map);
  g_object_unref(font_map);  // the context keeps it

  // Gray antialiasing: the surfaces are composited with per-pixel alpha, where
  // subpixel colour fringes would show. Metrics hinted to whole pixels keep
  // measured and drawn widths equal.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context_, 96.0);
}

PangoLayout* TextEngine::NewLayout(const std::u16string& text, const Font& font, bool single_line) const {
  std::string utf8 = Utf16ToUtf8(text);
  if (single_line) {
    for (char& c : utf8) {
      if (c == '\r' || c == '\n') c = ' ';
    }
  }
  PangoLayout* layout = pango_layout_new(context_);
  pango_layout_set_font_description(layout, font.impl().description);
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
  if (font.underline()) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  return layout;
}

double TextEngine::SampleLineHeight(const Font& font) const {
  double& height = font.impl().sample_line_height;
  if (height < 0) {
    PangoLayout* layout = NewLayout(u"测试", font, true);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    height = static_cast<double>(logical.height) / PANGO_SCALE;
  }
  return height;
}

}  // namespace ui
