#pragma once

// Text in the UI framework is UTF-16: std::u16string / std::u16string_view of
// char16_t, everywhere (names, values, paths, captions). Skin files are UTF-8
// on disk and are converted once when read (ui/markup/utf.h).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/markup/markup_element.h"
#include "ui/markup/markup_node.h"

namespace ui {

// A small non-validating reader of the skin markup. It parses in place inside
// one zero-terminated UTF-16 buffer of its own and records elements as offsets
// into it; names and values are never copied out.
//
// Every load first releases what the document held. A failed load leaves the
// document empty (GetRoot() invalid) with LastErrorMessage() and
// LastErrorLocation() describing the first error.
class MarkupDocument {
 public:
  // Largest file LoadFromFile accepts (exactly this size still loads).
  static constexpr size_t kMaxFileBytes = 4u * 1024 * 1024;
  static constexpr size_t kMaxErrorMessage = 99;
  static constexpr size_t kMaxErrorLocation = 49;
  // Zero characters after the terminator, for scanners reading ahead.
  static constexpr size_t kScanPadding = 8;

  MarkupDocument() = default;
  MarkupDocument(const MarkupDocument&) = delete;
  MarkupDocument& operator=(const MarkupDocument&) = delete;

  // Copies the text (up to its first zero character) and parses the copy.
  bool LoadFromText(std::u16string_view text);
  // UTF-8 bytes as read from a file: a leading byte-order mark is dropped,
  // the rest converted to UTF-16 (invalid sequences become U+FFFD) and parsed.
  bool LoadFromUtf8(std::string_view bytes);
  // A relative name is resolved against the current resource folder
  // (GlobalResources); an absolute name is used as it is.
  bool LoadFromFile(std::u16string_view file_name);
  void Release();

  bool IsValid() const { return elements_.size() > 1; }
  MarkupNode GetRoot() const;
  std::u16string_view LastErrorMessage() const { return error_message_; }
  std::u16string_view LastErrorLocation() const { return error_location_; }

  // The element table (index 0 reserved) and its capacity, which grows by
  // capacity/2 + 500 records each time it fills up.
  const std::vector<MarkupElement>& Elements() const { return elements_; }
  size_t ElementCapacity() const { return elements_.capacity(); }
  // The parsed buffer; offsets of MarkupElement point into it.
  const char16_t* Buffer() const { return buffer_ ? buffer_.get() : u""; }

 private:
  friend class MarkupNode;
  class Parser;

  // A fresh buffer of `length` characters plus the terminator and zeroed
  // padding (the scanners read a few characters ahead).
  char16_t* Allocate(size_t length);
  bool Parse();
  bool Fail(std::u16string_view message, const char16_t* location);

  std::unique_ptr<char16_t[]> buffer_;
  std::vector<MarkupElement> elements_;
  std::u16string error_message_;
  std::u16string error_location_;
};

}  // namespace ui
