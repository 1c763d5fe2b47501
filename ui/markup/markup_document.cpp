#include "ui/markup/markup_document.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ui/markup/markup_chars.h"
#include "ui/markup/utf.h"
#include "ui/resources/global_resources.h"

namespace ui {

namespace {

constexpr std::u16string_view kErrorOpening = u"Error opening file";
constexpr std::u16string_view kErrorEmpty = u"File is empty";
constexpr std::u16string_view kErrorTooLarge = u"File too large";
constexpr std::u16string_view kErrorRead = u"Could not read file";
constexpr std::u16string_view kErrorStartTag = u"Expected start tag";
constexpr std::u16string_view kErrorElementName = u"Error parsing element name";
constexpr std::u16string_view kErrorAttributes = u"Error while parsing attributes";
constexpr std::u16string_view kErrorAttributeValue = u"Expected attribute value";
constexpr std::u16string_view kErrorAttributeString = u"Error while parsing attribute string";
constexpr std::u16string_view kErrorStartTagClosing = u"Expected start-tag closing";
constexpr std::u16string_view kErrorEndTagStart = u"Expected end-tag start";
constexpr std::u16string_view kErrorUnmatchedClosing = u"Unmatched closing tag";

#if defined(__SSE2__)
// Whitespace eight characters at a time (codes 1 to 32; codes of 0x8000 and
// above compare as negative and fall out of the range, as they should). The
// buffer's padding lets the loads run past the terminator, which is no blank.
inline unsigned WhitespaceMask(const char16_t* p) {
  __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i blanks = _mm_and_si128(_mm_cmpgt_epi16(chunk, _mm_setzero_si128()),
                                 _mm_cmplt_epi16(chunk, _mm_set1_epi16(33)));
  return static_cast<unsigned>(_mm_movemask_epi8(blanks));
}

// Most gaps are none or one blank: plain tests first, vectors for the longer
// runs (indentation).
inline char16_t* SkipWhitespace(char16_t* p) {
  if (!IsMarkupWhitespace(p[0])) return p;
  if (!IsMarkupWhitespace(p[1])) return p + 1;
  p += 2;
  unsigned mask;
  while ((mask = WhitespaceMask(p)) == 0xFFFF) p += 8;
  return p + __builtin_ctz(~mask) / 2;
}

#else
inline char16_t* SkipWhitespace(char16_t* p) {
  while (IsMarkupWhitespace(*p)) ++p;
  return p;
}
#endif

// One byte per UTF-16 code: whether it is a name character. Names are short,
// so an unrolled table walk beats vector tests; the terminator is no name
// character, so the walk never reads past it.
const bool* NameTable() {
  static const bool* table = [] {
    static bool entries[0x10000];
    for (uint32_t c = 0; c < 0x10000; ++c) entries[c] = IsMarkupNameChar(static_cast<char16_t>(c));
    return entries;
  }();
  return table;
}

inline char16_t* SkipName(char16_t* p) {
  static const bool* const table = NameTable();
  for (;;) {
    if (!table[p[0]]) return p;
    if (!table[p[1]]) return p + 1;
    if (!table[p[2]]) return p + 2;
    if (!table[p[3]]) return p + 3;
    p += 4;
  }
}

// The first zero, `end` or "&" from `p`. The buffer's padding lets the vector
// loads run up to eight characters past its terminator.
inline char16_t* ScanData(char16_t* p, char16_t end) {
#if defined(__SSE2__)
  const __m128i ends = _mm_set1_epi16(static_cast<short>(end));
  const __m128i ampersands = _mm_set1_epi16(u'&');
  const __m128i zeros = _mm_setzero_si128();
  for (;;) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(chunk, ends), _mm_cmpeq_epi16(chunk, ampersands)),
                                _mm_cmpeq_epi16(chunk, zeros));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (mask != 0) return p + __builtin_ctz(mask) / 2;
    p += 8;
  }
#else
  while (*p != 0 && *p != end && *p != u'&') ++p;
  return p;
#endif
}

// Decodes one entity; `p` is just after the "&". Unknown ones keep the "&".
inline void DecodeEntity(char16_t*& p, char16_t*& dest) {
  if (p[0] == u'a' && p[1] == u'm' && p[2] == u'p' && p[3] == u';') {
    *dest++ = u'&';
    p += 4;
  } else if (p[0] == u'l' && p[1] == u't' && p[2] == u';') {
    *dest++ = u'<';
    p += 3;
  } else if (p[0] == u'g' && p[1] == u't' && p[2] == u';') {
    *dest++ = u'>';
    p += 3;
  } else if (p[0] == u'q' && p[1] == u'u' && p[2] == u'o' && p[3] == u't' && p[4] == u';') {
    *dest++ = u'"';
    p += 5;
  } else if (p[0] == u'a' && p[1] == u'p' && p[2] == u'o' && p[3] == u's' && p[4] == u';') {
    *dest++ = u'\'';
    p += 5;
  } else {
    *dest++ = u'&';
  }
}

// Reads text up to `end` (or the end of the buffer), decoding entities in
// place. On return `p` is at the delimiter and `dest` just after the decoded
// text; the characters left between them are blanked so that the attribute
// walk steps correctly over a shortened value.
inline void ParseData(char16_t*& p, char16_t*& dest, char16_t end) {
  // Nothing moves until the first entity.
  p = ScanData(p, end);
  dest = p;
  while (*p == u'&') {
    while (*p == u'&') {
      ++p;
      DecodeEntity(p, dest);
    }
    // The run up to the next entity or delimiter moves down in one piece.
    char16_t* next = ScanData(p, end);
    std::copy(p, next, dest);
    dest += next - p;
    p = next;
  }
  for (char16_t* fill = dest + 1; fill < p; ++fill) *fill = u' ';
}

}  // namespace

char16_t* MarkupDocument::Allocate(size_t length) {
  buffer_ = std::make_unique_for_overwrite<char16_t[]>(length + 1 + kScanPadding);
  std::fill_n(buffer_.get() + length, 1 + kScanPadding, u'\0');
  return buffer_.get();
}

bool MarkupDocument::LoadFromText(std::u16string_view text) {
  Release();
  size_t zero = text.find(u'\0');
  if (zero != std::u16string_view::npos) text = text.substr(0, zero);
  std::copy(text.begin(), text.end(), Allocate(text.size()));
  return Parse();
}

bool MarkupDocument::LoadFromUtf8(std::string_view bytes) {
  Release();
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
    bytes.remove_prefix(3);
  }
  // UTF-8 never needs more UTF-16 units than it has bytes; the text ends at
  // the converted length (or at a zero character inside it).
  char16_t* buffer = Allocate(bytes.size());
  size_t length = ConvertUtf8ToUtf16(bytes, buffer);
  std::fill(buffer + length, buffer + bytes.size(), u'\0');
  return Parse();
}

bool MarkupDocument::LoadFromFile(std::u16string_view file_name) {
  Release();
  error_message_.clear();
  error_location_.clear();
  std::u16string path;
  if (file_name.empty() || (file_name[0] != u'/' && file_name[0] != u'\\')) {
    path = GlobalResources::Instance().ResourceFolder();
  }
  path.append(file_name);
  std::string native = Utf16ToUtf8(GlobalResources::NativePath(path));

  std::error_code ec;
  if (std::filesystem::is_directory(native, ec)) return Fail(kErrorOpening, nullptr);
  std::FILE* file = std::fopen(native.c_str(), "rb");
  if (file == nullptr) return Fail(kErrorOpening, nullptr);
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  std::rewind(file);
  if (size < 0) {
    std::fclose(file);
    return Fail(kErrorRead, nullptr);
  }
  if (size == 0) {
    std::fclose(file);
    return Fail(kErrorEmpty, nullptr);
  }
  if (static_cast<unsigned long>(size) > kMaxFileBytes) {
    std::fclose(file);
    return Fail(kErrorTooLarge, nullptr);
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  if (read < bytes.size()) return Fail(kErrorRead, nullptr);
  return LoadFromUtf8(bytes);
}

void MarkupDocument::Release() {
  buffer_.reset();
  std::vector<MarkupElement>().swap(elements_);
}

MarkupNode MarkupDocument::GetRoot() const {
  if (elements_.size() < 2) return MarkupNode();
  return MarkupNode(this, 1);
}

bool MarkupDocument::Fail(std::u16string_view message, const char16_t* location) {
  error_message_.assign(message.substr(0, kMaxErrorMessage));
  error_location_.clear();
  if (location != nullptr) {
    for (size_t i = 0; i < kMaxErrorLocation && location[i] != 0; ++i) error_location_.push_back(location[i]);
  }
  Release();
  return false;
}

// Parses buffer_ in place. Nesting is kept on an explicit stack rather than
// the call stack, so a deeply nested text cannot overflow it.
bool MarkupDocument::Parse() {
  error_message_.clear();
  error_location_.clear();

  // The element table grows by capacity/2 + 500; record 0 is reserved.
  auto reserve_element = [this]() -> uint32_t {
    if (elements_.size() == elements_.capacity()) {
      elements_.reserve(elements_.capacity() + elements_.capacity() / 2 + 500);
    }
    elements_.emplace_back();
    return static_cast<uint32_t>(elements_.size() - 1);
  };
  reserve_element();

  // An element whose children are being read.
  struct Open {
    uint32_t element;
    const char16_t* name;
    char16_t* name_end;
    char16_t* data_end;
  };
  std::vector<Open> open;

  if (!buffer_) Allocate(0);
  char16_t* const base = buffer_.get();
  char16_t* p = base;
  uint32_t parent = 0;    // the element list being read belongs to this element
  uint32_t previous = 0;  // the last element of that list so far

  // Reads "</name>" for an element whose content ends at `data_end`.
  auto close_end_tag = [&](const char16_t* name, char16_t* name_end, char16_t* data_end) -> bool {
    *data_end = 0;
    p += 2;
    p = SkipWhitespace(p);
    size_t length = static_cast<size_t>(name_end - name);
    for (size_t i = 0; i < length; ++i) {
      if (p[i] != name[i]) return Fail(kErrorUnmatchedClosing, p);
    }
    p += length;
    p = SkipWhitespace(p);
    if (*p != u'>') return Fail(kErrorUnmatchedClosing, *p == 0 ? p : p + 1);
    ++p;
    *name_end = 0;
    return true;
  };

  for (;;) {
    // One pass of the element list of `parent`; "list done" leaves the loop
    // body with `done` set and hands control back to the enclosing element.
    bool done = false;
    p = SkipWhitespace(p);
    if (*p == 0) {
      if (parent > 1) return Fail(kErrorStartTag, p);
      done = true;
    } else if (*p != u'<') {
      return Fail(kErrorStartTag, p);
    } else if (p[1] == u'/') {
      done = true;
    }

    if (!done) {
      *p++ = 0;
      p = SkipWhitespace(p);
      // Comments and declarations end at the first "->", processing
      // instructions at the first "?>"; unterminated ones run to the end.
      if (*p == u'!' || *p == u'?') {
        char16_t closing = *p == u'!' ? u'-' : u'?';
        for (;;) {
          p = ScanData(p, closing);
          if (*p == 0) break;
          if (*p == closing && p[1] == u'>') {
            p += 2;
            break;
          }
          ++p;
        }
        continue;
      }

      uint32_t index = reserve_element();
      MarkupElement* element = &elements_[index];
      element->start = static_cast<uint32_t>(p - base);
      element->parent = parent;
      if (previous != 0) {
        elements_[previous].next = index;
      } else if (parent > 0) {
        elements_[parent].child = index;
      }
      previous = index;

      const char16_t* name = p;
      p = SkipName(p);
      char16_t* name_end = p;
      if (*p == 0) return Fail(kErrorElementName, p);

      // Attributes.
      if (!(p[0] == u'/' && p[1] == u'>') && p[0] != u'>') {
        *p++ = 0;
        p = SkipWhitespace(p);
        while (*p != 0 && *p != u'>' && *p != u'/') {
          p = SkipName(p);
          char16_t* attribute_end = p;
          p = SkipWhitespace(p);
          if (*p != u'=') return Fail(kErrorAttributes, p);
          *p++ = u' ';
          *attribute_end = 0;
          p = SkipWhitespace(p);
          if (*p != u'"') return Fail(kErrorAttributeValue, *p == 0 ? p : p + 1);
          ++p;
          char16_t* dest = p;
          ParseData(p, dest, u'"');
          if (*p == 0) return Fail(kErrorAttributeString, p);
          *dest = 0;
          if (p != dest) *p = u' ';
          ++p;
          p = SkipWhitespace(p);
        }
      }
      p = SkipWhitespace(p);

      if (p[0] == u'/' && p[1] == u'>') {
        elements_[index].data = static_cast<uint32_t>(p - base);
        *p = 0;
        p += 2;
        *name_end = 0;
        continue;
      }
      if (*p != u'>') return Fail(kErrorStartTagClosing, p);
      ++p;
      elements_[index].data = static_cast<uint32_t>(p - base);
      char16_t* data_end = p;
      ParseData(p, data_end, u'<');
      if (*p == 0) {
        // The root and the top-level elements may lack their end tags.
        if (parent > 1) return Fail(kErrorEndTagStart, p);
        *data_end = 0;
        *name_end = 0;
        done = true;
      } else if (p[1] != u'/') {
        open.push_back({index, name, name_end, data_end});
        parent = index;
        previous = 0;
        continue;
      } else {
        if (!close_end_tag(name, name_end, data_end)) return false;
        continue;
      }
    }

    // The list of `parent` is complete: back to the element that owns it.
    if (open.empty()) return true;
    Open owner = open.back();
    open.pop_back();
    parent = elements_[owner.element].parent;
    previous = owner.element;
    if (p[0] == u'<' && p[1] == u'/') {
      if (!close_end_tag(owner.name, owner.name_end, owner.data_end)) return false;
    } else {
      // End of the text inside the root: closed silently.
      *owner.data_end = 0;
      *owner.name_end = 0;
    }
  }
}

}  // namespace ui
