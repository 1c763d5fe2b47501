#pragma once

#include <string>

#include "ui/render/font.h"

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;

namespace ui {

struct FontImpl {
  PangoFontDescription* description = nullptr;
  mutable double sample_line_height = -1;  // measured on first use
};

// The process's text machinery: the font map over the program's own font
// configuration (loaded on first use, so creating windows stays cheap) and
// one Pango context. UI thread only.
class TextEngine {
 public:
  static TextEngine& Get();

  PangoContext* context() const { return context_; }
  // A new layout of the text in the font (caller unrefs). Single-line text
  // keeps line breaks from breaking: they are shown as blanks.
  PangoLayout* NewLayout(const std::u16string& text, const Font& font, bool single_line) const;
  // The height of one line of the sample "测试" in the font, in pixels.
  double SampleLineHeight(const Font& font) const;

 private:
  TextEngine();

  PangoContext* context_ = nullptr;
};

}  // namespace ui
