#include "ui/core/attribute_value.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace ui {

namespace {

bool IsBlank(char16_t c) { return c >= 1 && c <= 32; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads one integer starting at `pos`; returns the offset after it.
size_t ReadInt(std::u16string_view text, size_t pos, int* value) {
  size_t i = pos;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  if (i >= text.size() || !IsDigit(text[i])) {
    *value = 0;
    return pos;  // no digits: nothing consumed
  }
  int64_t v = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (v <= kLimit) v = v * 10 + (text[i] - u'0');
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) v = std::numeric_limits<int32_t>::min();
  *value = static_cast<int>(v);
  return i;
}

// Reads `count` integers, each after the first preceded by one separator
// character. Stops (leaving zeros) when the text runs out.
void ReadInts(std::u16string_view text, int* out, int count) {
  for (int n = 0; n < count; ++n) out[n] = 0;
  size_t pos = 0;
  for (int n = 0; n < count; ++n) {
    if (n > 0) {
      if (pos >= text.size()) return;
      ++pos;  // the separator, whatever it is
    }
    pos = ReadInt(text, pos, &out[n]);
  }
}

}  // namespace

int ParseInt(std::u16string_view text, size_t* end) {
  int value = 0;
  size_t stop = ReadInt(text, 0, &value);
  if (end) *end = stop;
  return value;
}

UiRect ParseFrame(std::u16string_view text) {
  int v[4];
  ReadInts(text, v, 4);
  return UiRect{v[0], v[1], v[2], v[3]};
}

UiSize ParsePair(std::u16string_view text) {
  int v[2];
  ReadInts(text, v, 2);
  return UiSize{v[0], v[1]};
}

bool ParseBool(std::u16string_view text) { return text == u"true"; }

std::u16string_view SkipBlanks(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

void ForEachAttribute(std::u16string_view list,
                      const std::function<void(std::u16string_view, std::u16string_view)>& visit) {
  size_t pos = 0;
  while (pos < list.size()) {
    size_t eq = list.find(u'=', pos);
    if (eq == std::u16string_view::npos) return;
    std::u16string_view name = list.substr(pos, eq - pos);
    if (eq + 1 >= list.size() || list[eq + 1] != u'"') return;
    size_t value_start = eq + 2;
    size_t close = list.find(u'"', value_start);
    if (close == std::u16string_view::npos) return;
    visit(name, list.substr(value_start, close - value_start));
    pos = close + 1;
    // The next item needs exactly one blank and more text after the quote.
    if (pos >= list.size() || list[pos] != u' ') return;
    ++pos;
  }
}

std::vector<std::u16string_view> SplitWords(std::u16string_view text) {
  std::vector<std::u16string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace ui
