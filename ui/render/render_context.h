#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/core/geometry.h"

namespace ui {

class Font;
class ImageFrame;

// A drawing surface of 32-bit premultiplied BGRA pixels, rows from the top, and
// the operations controls and windows paint with. Coordinates are logical:
// a point p lands on the surface at p minus the current origin offset.
// Colours are ARGB with alpha in the top byte; a colour of 0 draws nothing.
class IRenderContext {
 public:
  virtual ~IRenderContext() = default;

  // Surface. Resizing to the current size reports false and keeps the pixels;
  // any other size gives a new, fully transparent surface, with no clip and
  // no origin offset, and reports true.
  virtual bool Resize(int width, int height) = 0;
  virtual UiSize GetSize() const = 0;
  virtual void Clear() = 0;                      // every byte 0
  virtual void ClearRect(const UiRect& rect) = 0;  // device pixels, every byte 0
  // Direct pixel access: GetBits() finishes pending drawing; after writing
  // through the pointer call MarkBitsDirty().
  virtual uint8_t* GetBits() = 0;
  virtual int GetStride() const = 0;
  virtual void MarkBitsDirty() = 0;
  // Sets the alpha byte of every pixel of rect (device pixels, cut to the
  // surface) to 255, or to 0 where key_alpha is not 0 and the pixel's alpha
  // equals it. Pixels in the four corner areas of the SURFACE are left alone:
  // corner.left x corner.top at the top-left, corner.right x corner.top at the
  // top-right, corner.left x corner.bottom and corner.right x corner.bottom below.
  virtual void RestoreAlpha(const UiRect& rect, const UiRect& corner, uint8_t key_alpha) = 0;
  // Whether pictures are always alpha blended rather than copied. Blending
  // gives the same pixels for opaque pictures here; the setting is kept for
  // windows that ask.
  virtual void SetAlphaBlendAlways(bool always) = 0;
  virtual bool IsAlphaBlendAlways() const = 0;

  // Clipping (logical rectangles); scopes nest: see AutoClip.
  virtual void PushClip(const UiRect& rect) = 0;
  // Rounded corners drawn as ellipses round_cx wide and round_cy high.
  virtual void PushRoundClip(const UiRect& rect, int round_cx, int round_cy) = 0;
  virtual void PopClip() = 0;

  // Origin: after PushOrigin(d), logical point d lands where the logical
  // origin landed before (offsets add up). See AutoOrigin.
  virtual void PushOrigin(const UiPoint& offset) = 0;
  virtual void PopOrigin() = 0;
  virtual UiPoint GetOrigin() const = 0;  // the sum of the pushed offsets

  // Fills with the colour; with alpha below 255 only the colour's own alpha is
  // scaled (alpha x alpha / 255, truncated). The named form looks the name up
  // in the global colour table; an empty or unknown name draws nothing.
  virtual void FillRect(const UiRect& rect, uint32_t argb, uint8_t alpha = 255) = 0;
  virtual void FillRect(const UiRect& rect, const std::u16string& color_name, uint8_t alpha = 255) = 0;
  // Axis-aligned lines cover the pixels from `from` up to, not including, `to`
  // along their length; an odd pen width is centred on the pixel row/column.
  virtual void DrawLine(const UiPoint& from, const UiPoint& to, int pen_width, uint32_t argb) = 0;
  // The pen is centred on the edges of (left, top, right, bottom); with pen
  // width 1, (l, t, r - 1, b - 1) outlines exactly the pixels of (l, t, r, b).
  virtual void DrawRect(const UiRect& rect, int pen_width, uint32_t argb) = 0;

  // Nine-grid drawing of `source` (picture pixels; cut to the picture) into
  // `dest` at opacity fade. Source insets are `corner`; destination insets are
  // `corner` passed through ScaleRect. Nothing when dest does not meet
  // paint_rect; each piece is drawn only when its destination meets it.
  // The middle is stretched, or tiled along x, y or both.
  virtual void DrawImage(const UiRect& paint_rect, const ImageFrame* frame, bool has_alpha,
                         const UiRect& dest, const UiRect& source, const UiRect& corner,
                         uint8_t fade = 255, bool xtiled = false, bool ytiled = false) = 0;

  // Text with the font of the global font table at font_index (the default
  // font when there is none) and the kText* format flags. Opacity is the
  // colour's alpha x alpha / 255 (truncated), 255 drawn as 254. Line limit shows
  // only whole lines. Nothing for empty text.
  virtual void DrawText(const UiRect& rect, const std::u16string& text, uint32_t argb, int font_index,
                        uint32_t format, uint8_t alpha = 255, bool line_limit = false) = 0;
  // The text's bounding box from (0, 0), right and bottom each + 1, truncated.
  // width_limit -1 or 0 is unbounded; single-line text is at most one line of
  // "测试" high and does not wrap.
  virtual UiRect MeasureText(const std::u16string& text, int font_index, uint32_t format,
                             int width_limit = -1) = 0;
  // The same with a font given directly (nothing = the default font).
  virtual void DrawText(const UiRect& rect, const std::u16string& text, uint32_t argb, const Font* font,
                        uint32_t format, uint8_t alpha = 255, bool line_limit = false) = 0;
  virtual UiRect MeasureText(const std::u16string& text, const Font* font, uint32_t format,
                             int width_limit = -1) = 0;

  // Draws all of `source` (an offscreen target from the same factory) with
  // its top-left at logical `place`, at opacity alpha, through the clip.
  virtual void AlphaBlend(const IRenderContext& source, const UiPoint& place, uint8_t alpha = 255) = 0;
};

class IRenderFactory {
 public:
  virtual ~IRenderFactory() = default;
  // A render context with an empty (0 x 0) surface; Resize gives it pixels.
  virtual std::unique_ptr<IRenderContext> CreateRenderContext() = 0;
};

// Clip scope: clips to the rectangle (or rounded rectangle) while it lives.
// With clip false it does nothing, so callers can clip conditionally.
class AutoClip {
 public:
  AutoClip(IRenderContext* context, const UiRect& rect, bool clip = true)
      : context_(clip ? context : nullptr) {
    if (context_) context_->PushClip(rect);
  }
  AutoClip(IRenderContext* context, const UiRect& rect, int round_cx, int round_cy, bool clip = true)
      : context_(clip ? context : nullptr) {
    if (context_) context_->PushRoundClip(rect, round_cx, round_cy);
  }
  ~AutoClip() {
    if (context_) context_->PopClip();
  }
  AutoClip(const AutoClip&) = delete;
  AutoClip& operator=(const AutoClip&) = delete;

 private:
  IRenderContext* context_;
};

// Origin scope: moves the origin by the offset while it lives.
class AutoOrigin {
 public:
  AutoOrigin(IRenderContext* context, const UiPoint& offset) : context_(context) {
    context_->PushOrigin(offset);
  }
  ~AutoOrigin() { context_->PopOrigin(); }
  AutoOrigin(const AutoOrigin&) = delete;
  AutoOrigin& operator=(const AutoOrigin&) = delete;

 private:
  IRenderContext* context_;
};

}  // namespace ui
