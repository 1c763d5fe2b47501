#include "ui/render/font.h"

#include <pango/pango.h>

#include "ui/markup/utf.h"
#include "ui/render/text_engine.h"

namespace ui {

std::unique_ptr<Font> Font::Create(const std::u16string& face, int pixel_size, bool bold, bool underline,
                                   bool italic) {
  if (face.empty() || pixel_size < 1) return nullptr;
  return std::unique_ptr<Font>(new Font(face, pixel_size, bold, underline, italic));
}

const Font& Font::Default() {
  static const Font* font = new Font(kSystemUiFontFace, 12, false, false, false);
  return *font;
}

Font::Font(const std::u16string& face, int pixel_size, bool bold, bool underline, bool italic)
    : face_(face),
      pixel_size_(pixel_size),
      bold_(bold),
      underline_(underline),
      italic_(italic),
      impl_(std::make_unique<FontImpl>()) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, Utf16ToUtf8(face).c_str());
  // The size is the character (em) height in device pixels, like a negative
  // logical-font height.
  pango_font_description_set_absolute_size(description, static_cast<double>(pixel_size) * PANGO_SCALE);
  pango_font_description_set_weight(description, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  impl_->description = description;
}

Font::~Font() { pango_font_description_free(impl_->description); }

}  // namespace ui
