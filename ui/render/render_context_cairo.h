#pragma once

#include <vector>

#include "ui/render/render_context.h"

struct _cairo;
struct _cairo_surface;

namespace ui {

// The render context over a Cairo ARGB32 image surface (premultiplied BGRA in
// memory on little-endian machines, rows from the top) with Pango text.
class RenderContext_Cairo : public IRenderContext {
 public:
  RenderContext_Cairo();
  ~RenderContext_Cairo() override;
  RenderContext_Cairo(const RenderContext_Cairo&) = delete;
  RenderContext_Cairo& operator=(const RenderContext_Cairo&) = delete;

  bool Resize(int width, int height) override;
  UiSize GetSize() const override;
  void Clear() override;
  void ClearRect(const UiRect& rect) override;
  uint8_t* GetBits() override;
  int GetStride() const override;
  void MarkBitsDirty() override;
  void RestoreAlpha(const UiRect& rect, const UiRect& corner, uint8_t key_alpha) override;
  void SetAlphaBlendAlways(bool always) override { alpha_blend_always_ = always; }
  bool IsAlphaBlendAlways() const override { return alpha_blend_always_; }

  void PushClip(const UiRect& rect) override;
  void PushRoundClip(const UiRect& rect, int round_cx, int round_cy) override;
  void PopClip() override;
  void PushOrigin(const UiPoint& offset) override;
  void PopOrigin() override;
  UiPoint GetOrigin() const override { return origin_; }

  void FillRect(const UiRect& rect, uint32_t argb, uint8_t alpha) override;
  void FillRect(const UiRect& rect, const std::u16string& color_name, uint8_t alpha) override;
  void DrawLine(const UiPoint& from, const UiPoint& to, int pen_width, uint32_t argb) override;
  void DrawRect(const UiRect& rect, int pen_width, uint32_t argb) override;
  void DrawImage(const UiRect& paint_rect, const ImageFrame* frame, bool has_alpha, const UiRect& dest,
                 const UiRect& source, const UiRect& corner, uint8_t fade, bool xtiled,
                 bool ytiled) override;
  void DrawText(const UiRect& rect, const std::u16string& text, uint32_t argb, int font_index,
                uint32_t format, uint8_t alpha, bool line_limit) override;
  UiRect MeasureText(const std::u16string& text, int font_index, uint32_t format, int width_limit) override;
  void DrawText(const UiRect& rect, const std::u16string& text, uint32_t argb, const Font* font,
                uint32_t format, uint8_t alpha, bool line_limit) override;
  UiRect MeasureText(const std::u16string& text, const Font* font, uint32_t format, int width_limit) override;
  void AlphaBlend(const IRenderContext& source, const UiPoint& place, uint8_t alpha) override;

  _cairo_surface* surface() const { return surface_; }

 private:
  struct Clip {
    UiRect rect;  // device pixels
    int round_cx = 0;
    int round_cy = 0;
  };
  // Re-applies the clip stack after a pop (clips are kept in device pixels,
  // so they do not depend on the origin pushed since).
  void ApplyClips();
  void ApplyClip(const Clip& clip);
  // Draws picture pixels `src` into logical `dst`, stretched, at opacity fade.
  void DrawPiece(_cairo_surface* picture, const UiRect& src, const UiRect& dst, double opacity);

  _cairo_surface* surface_ = nullptr;
  _cairo* cr_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool alpha_blend_always_ = false;
  UiPoint origin_;
  std::vector<UiPoint> origin_stack_;
  std::vector<Clip> clips_;
};

}  // namespace ui
