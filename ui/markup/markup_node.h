#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class MarkupDocument;

// A cheap, non-owning handle to one element of a loaded MarkupDocument. It is
// valid only while the document stays loaded. A handle without a document or
// with index 0 is invalid, and every query on it answers "nothing": an invalid
// node, an empty string, zero attributes.
//
// Strings returned are views into the document's buffer; each is followed by a
// zero character there, so .data() may be used as a C string.
class MarkupNode {
 public:
  static constexpr size_t kMaxAttributes = 64;

  MarkupNode() = default;
  MarkupNode(const MarkupDocument* document, uint32_t index) : document_(document), index_(index) {}

  bool IsValid() const { return document_ != nullptr && index_ != 0; }
  uint32_t Index() const { return index_; }

  MarkupNode Parent() const;
  MarkupNode FirstChild() const;
  MarkupNode NextSibling() const;
  bool HasChildren() const;

  std::u16string_view Name() const;
  // Text content before the first child element, entities decoded.
  std::u16string_view Value() const;

  // Attributes in document order; only the first 64 of an element are seen.
  // An index outside 0..count-1 gives the empty string.
  size_t AttributeCount() const;
  std::u16string_view AttributeName(size_t index) const;
  std::u16string_view AttributeValue(size_t index) const;
  // First attribute whose name equals `name` exactly (case-sensitive).
  std::optional<std::u16string_view> FindAttribute(std::u16string_view name) const;
  // Copies at most `max_chars` characters of that value into `value`; returns
  // whether the attribute exists (`value` is left empty when it does not).
  bool FindAttribute(std::u16string_view name, std::u16string& value, size_t max_chars) const;

 private:
  struct AttributeOffsets {
    uint32_t name = 0;
    uint32_t value = 0;
  };

  // Fills the attribute table on the first attribute query of this handle.
  void MapAttributes() const;

  const MarkupDocument* document_ = nullptr;
  uint32_t index_ = 0;
  mutable bool attributes_mapped_ = false;
  mutable uint8_t attribute_count_ = 0;
  mutable std::array<AttributeOffsets, kMaxAttributes> attributes_;
};

}  // namespace ui
