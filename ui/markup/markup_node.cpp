#include "ui/markup/markup_node.h"

#include <algorithm>

#include "ui/markup/markup_chars.h"
#include "ui/markup/markup_document.h"

namespace ui {

namespace {

std::u16string_view ViewAt(const char16_t* buffer, uint32_t offset) {
  return std::u16string_view(buffer + offset);
}

}  // namespace

MarkupNode MarkupNode::Parent() const {
  if (!IsValid()) return MarkupNode();
  return MarkupNode(document_, document_->elements_[index_].parent);
}

MarkupNode MarkupNode::FirstChild() const {
  if (!IsValid()) return MarkupNode();
  return MarkupNode(document_, document_->elements_[index_].child);
}

MarkupNode MarkupNode::NextSibling() const {
  if (!IsValid()) return MarkupNode();
  return MarkupNode(document_, document_->elements_[index_].next);
}

bool MarkupNode::HasChildren() const { return IsValid() && document_->elements_[index_].child != 0; }

std::u16string_view MarkupNode::Name() const {
  if (!IsValid()) return {};
  return ViewAt(document_->Buffer(), document_->elements_[index_].start);
}

std::u16string_view MarkupNode::Value() const {
  if (!IsValid()) return {};
  return ViewAt(document_->Buffer(), document_->elements_[index_].data);
}

// Walks from the name's terminator to the data offset: name, terminator,
// blanks, opening quote, value, terminator. Every step stays inside that span,
// so a damaged span ends the walk instead of reading past it.
void MarkupNode::MapAttributes() const {
  attributes_mapped_ = true;
  attribute_count_ = 0;
  if (!IsValid()) return;
  const char16_t* buffer = document_->Buffer();
  const MarkupElement& element = document_->elements_[index_];
  const char16_t* p = buffer + element.start;
  const char16_t* end = buffer + element.data;
  auto skip_string = [&p, end]() {
    while (p < end && *p != 0) ++p;
    ++p;
  };
  skip_string();
  while (p < end) {
    while (p < end && IsMarkupWhitespace(*p)) ++p;
    if (p >= end || *p == u'>' || *p == u'/') return;
    uint32_t name = static_cast<uint32_t>(p - buffer);
    skip_string();
    while (p < end && IsMarkupWhitespace(*p)) ++p;
    if (p >= end || *p != u'"') return;
    ++p;
    attributes_[attribute_count_++] = {name, static_cast<uint32_t>(p - buffer)};
    if (attribute_count_ >= kMaxAttributes) return;
    skip_string();
  }
}

size_t MarkupNode::AttributeCount() const {
  if (!attributes_mapped_) MapAttributes();
  return attribute_count_;
}

std::u16string_view MarkupNode::AttributeName(size_t index) const {
  if (index >= AttributeCount()) return {};
  return ViewAt(document_->Buffer(), attributes_[index].name);
}

std::u16string_view MarkupNode::AttributeValue(size_t index) const {
  if (index >= AttributeCount()) return {};
  return ViewAt(document_->Buffer(), attributes_[index].value);
}

std::optional<std::u16string_view> MarkupNode::FindAttribute(std::u16string_view name) const {
  size_t count = AttributeCount();
  for (size_t i = 0; i < count; ++i) {
    if (AttributeName(i) == name) return AttributeValue(i);
  }
  return std::nullopt;
}

bool MarkupNode::FindAttribute(std::u16string_view name, std::u16string& value, size_t max_chars) const {
  value.clear();
  std::optional<std::u16string_view> found = FindAttribute(name);
  if (!found) return false;
  value.assign(found->substr(0, std::min(max_chars, found->size())));
  return true;
}

}  // namespace ui
