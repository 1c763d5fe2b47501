#pragma once

#include <cstdint>

namespace ui {

// One element of a parsed markup document. Offsets count characters from the
// start of the document's buffer; indexes refer to the document's element
// table, where 0 means "none" (index 0 is reserved and never an element).
struct MarkupElement {
  uint32_t start = 0;   // offset of the name (terminated in place)
  uint32_t child = 0;   // index of the first child
  uint32_t next = 0;    // index of the next sibling
  uint32_t parent = 0;  // index of the parent (0 for a top-level element)
  uint32_t data = 0;    // offset of the text content; also bounds the attribute walk
};

}  // namespace ui
