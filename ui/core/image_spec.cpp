#include "ui/core/image_spec.h"

#include "ui/core/attribute_value.h"
#include "ui/resources/global_resources.h"

namespace ui {

namespace {

bool IsBlank(char16_t c) { return c >= 1 && c <= 32; }

}  // namespace

void ImageSpec::SetImageString(std::u16string_view image_text) {
  Reset();
  text.assign(image_text);
  file_name.assign(image_text);
  Modify(image_text);
}

void ImageSpec::Modify(std::u16string_view modifier) {
  bool scale_dest = true;
  size_t i = 0;
  const size_t n = modifier.size();
  auto skip_blanks = [&] {
    while (i < n && IsBlank(modifier[i])) ++i;
  };
  while (i < n) {
    skip_blanks();
    size_t key_start = i;
    while (i < n && modifier[i] != u'=' && !IsBlank(modifier[i])) ++i;
    std::u16string_view key = modifier.substr(key_start, i - key_start);
    skip_blanks();
    if (i >= n || modifier[i] != u'=') break;
    ++i;
    skip_blanks();
    if (i >= n || modifier[i] != u'\'') break;
    ++i;
    size_t value_start = i;
    while (i < n && modifier[i] != u'\'') ++i;
    if (i >= n) break;  // no closing quote
    std::u16string_view value = modifier.substr(value_start, i - value_start);
    ++i;
    if (!value.empty()) {
      if (key == u"file" || key == u"res") {
        file_name.assign(value);
      } else if (key == u"destscale") {
        scale_dest = ParseBool(value);
      } else if (key == u"dest") {
        dest = ParseFrame(value);
        if (scale_dest) dest = GlobalResources::Instance().ScaleRect(dest);
      } else if (key == u"source") {
        source = ParseFrame(value);
      } else if (key == u"corner") {
        corner = ParseFrame(value);
      } else if (key == u"fade") {
        fade = static_cast<uint8_t>(ParseInt(value));
      } else if (key == u"xtiled") {
        xtiled = ParseBool(value);
      } else if (key == u"ytiled") {
        ytiled = ParseBool(value);
      } else if (key == u"playcount") {
        play_count = ParseInt(value);
      }
    }
    // Items are separated by blanks; anything else ends the list.
    if (i < n && !IsBlank(modifier[i])) break;
  }
}

}  // namespace ui
