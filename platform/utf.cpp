#include "platform/utf.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Converts into `out`, which has room for (end - in) units; returns the end.
char16_t* ConvertUtf8(const unsigned char* in, const unsigned char* end, char16_t* out) {
  while (in < end) {
#if defined(__SSE2__)
    // ASCII runs, sixteen bytes at a time. Widening all sixteen is safe even
    // when fewer are ASCII: the output never runs ahead of the input.
    while (end - in >= 16) {
      __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(chunk));
      if (mask == 0) {
        in += 16;
        out += 16;
        continue;
      }
      int ascii = __builtin_ctz(mask);
      in += ascii;
      out += ascii;
      break;
    }
#else
    while (end - in >= 8) {
      uint64_t word;
      std::memcpy(&word, in, 8);
      if (word & 0x8080808080808080ull) break;
      for (int i = 0; i < 8; ++i) out[i] = in[i];
      in += 8;
      out += 8;
    }
#endif
    if (in >= end) break;
    unsigned c = *in;
    if (c < 0x80) {
      *out++ = static_cast<char16_t>(c);
      ++in;
      continue;
    }
    // Runs of three-byte sequences (CJK), the common case after ASCII.
    if ((c & 0xF0) == 0xE0) {
      while (end - in >= 3 && (in[0] & 0xF0) == 0xE0 && (in[1] & 0xC0) == 0x80 && (in[2] & 0xC0) == 0x80) {
        uint32_t code = ((in[0] & 0x0Fu) << 12) | ((in[1] & 0x3Fu) << 6) | (in[2] & 0x3Fu);
        if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) break;
        *out++ = static_cast<char16_t>(code);
        in += 3;
      }
      if (in >= end || *in < 0x80) continue;
      c = *in;
    }
    // Other sequences: length, minimum value (no overlong forms).
    int length;
    uint32_t code;
    uint32_t minimum;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
      minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
      minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
      minimum = 0x10000;
    } else {
      *out++ = kReplacement;
      ++in;
      continue;
    }
    if (end - in < length) {
      *out++ = kReplacement;
      ++in;
      continue;
    }
    bool valid = true;
    for (int i = 1; i < length; ++i) {
      unsigned next = in[i];
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      *out++ = kReplacement;
      ++in;
      continue;
    }
    in += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 + (code >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      *out++ = static_cast<char16_t>(code);
    }
  }
  return out;
}

}  // namespace

size_t ConvertUtf8ToUtf16(std::string_view utf8, char16_t* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
  return static_cast<size_t>(ConvertUtf8(in, in + utf8.size(), out) - out);
}

void AppendUtf8ToUtf16(std::string_view utf8, std::u16string& out) {
  // A UTF-8 text never needs more UTF-16 units than it has bytes.
  size_t old_size = out.size();
  out.resize(old_size + utf8.size());
  out.resize(old_size + ConvertUtf8ToUtf16(utf8, out.data() + old_size));
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  AppendUtf8ToUtf16(utf8, out);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t code = utf16[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = kReplacement;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace platform
