#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/core/geometry.h"

namespace ui {

// The parsed text of an image attribute: either a bare file name, or items
// key='value' separated by blanks ("file", "res", "destscale", "dest",
// "source", "corner", "fade", "xtiled", "ytiled", "playcount").
struct ImageSpec {
  static constexpr UiRect kUnset{-1, -1, -1, -1};

  std::u16string text;       // the whole attribute text
  std::u16string file_name;
  UiRect dest = kUnset;      // relative to the control's top-left corner
  UiRect source = kUnset;    // picture pixels
  UiRect corner{};           // nine-grid margins in picture pixels
  uint8_t fade = 255;
  bool xtiled = false;
  bool ytiled = false;
  int play_count = -1;

  // Resets to defaults, takes the whole text as the file name, then applies
  // the items of the text.
  void SetImageString(std::u16string_view image_text);
  // Applies the items of `modifier` over the current values.
  void Modify(std::u16string_view modifier);

  void Reset() { *this = ImageSpec{}; }
  bool HasDest() const { return IsSet(dest); }
  bool HasSource() const { return IsSet(source); }
  static bool IsSet(const UiRect& r) { return r.left != -1 && r.top != -1 && r.right != -1 && r.bottom != -1; }
};

}  // namespace ui
