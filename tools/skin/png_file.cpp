#include "tools/skin/png_file.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "ui/render/render_context.h"

namespace skin_tool {

namespace {

void PutBigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  std::string body(type, 4);
  body += data;
  out += body;
  PutBigEndian(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                static_cast<uInt>(body.size()))));
}

}  // namespace

bool WritePng(ui::IRenderContext& render, const std::string& path) {
  const ui::UiSize size = render.GetSize();
  const uint8_t* bits = render.GetBits();
  const int stride = render.GetStride();
  if (!bits || size.cx <= 0 || size.cy <= 0) return false;

  // Rows of filter byte 0 and straight (not premultiplied) RGBA.
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(size.cy) * (1 + size.cx * 4));
  for (int y = 0; y < size.cy; ++y) {
    raw.push_back(0);
    const uint8_t* row = bits + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < size.cx; ++x) {
      const uint8_t b = row[x * 4], g = row[x * 4 + 1], r = row[x * 4 + 2], a = row[x * 4 + 3];
      auto straight = [a](uint8_t c) { return a == 0 ? uint8_t{0} : static_cast<uint8_t>((c * 255 + a / 2) / a); };
      raw.insert(raw.end(), {straight(r), straight(g), straight(b), a});
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packed_size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    return false;
  }
  packed.resize(packed_size);

  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(size.cx));
  PutBigEndian(header, static_cast<uint32_t>(size.cy));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter choice, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  std::ofstream out(path, std::ios::binary);
  out << png;
  return static_cast<bool>(out);
}

}  // namespace skin_tool
