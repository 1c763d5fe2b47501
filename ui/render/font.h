#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ui {

// Text format flags of DrawText / MeasureText; the values are the desktop
// system's text-drawing constants, so skins and callers can keep their numbers.
// Left and top are the absence of the other bits.
constexpr uint32_t kTextLeft = 0x0;
constexpr uint32_t kTextTop = 0x0;
constexpr uint32_t kTextCenter = 0x1;   // horizontal center; wins over kTextRight
constexpr uint32_t kTextRight = 0x2;
constexpr uint32_t kTextVCenter = 0x4;  // wins over kTextBottom
constexpr uint32_t kTextBottom = 0x8;
constexpr uint32_t kTextSingleLine = 0x20;
constexpr uint32_t kTextNoClip = 0x100;
constexpr uint32_t kTextEndEllipsis = 0x8000;

// The face that the "system" font of a skin stands for. The program's own
// font configuration maps it to an installed CJK sans face, Latin included.
inline constexpr char16_t kSystemUiFontFace[] = u"微软雅黑";
// The older face whose vertically centred text sits one pixel lower.
inline constexpr char16_t kSimSunFontFace[] = u"新宋体";

struct FontImpl;  // the back end's font description, private to ui/render

// A text font: a face with an absolute pixel height (the character height,
// already scaled for the display) and style flags. Immutable once made.
class Font {
 public:
  // Nothing for an empty face or a size below 1 (the font cannot be made).
  static std::unique_ptr<Font> Create(const std::u16string& face, int pixel_size, bool bold = false,
                                      bool underline = false, bool italic = false);
  // The font text is drawn with when a font index names no font.
  static const Font& Default();

  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const std::u16string& face() const { return face_; }
  int pixel_size() const { return pixel_size_; }
  bool bold() const { return bold_; }
  bool underline() const { return underline_; }
  bool italic() const { return italic_; }

  const FontImpl& impl() const { return *impl_; }

 private:
  Font(const std::u16string& face, int pixel_size, bool bold, bool underline, bool italic);

  std::u16string face_;
  int pixel_size_ = 0;
  bool bold_ = false;
  bool underline_ = false;
  bool italic_ = false;
  std::unique_ptr<FontImpl> impl_;
};

}  // namespace ui
