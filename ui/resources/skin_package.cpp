#include "ui/resources/skin_package.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/markup/utf.h"

namespace ui {

// minizip reads the archive through these callbacks: a read-only stream over
// the bytes in memory.
struct SkinPackage::MemoryStream {
  const unsigned char* data = nullptr;
  uint64_t size = 0;
  uint64_t position = 0;

  static voidpf ZCALLBACK Open(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    auto* stream = static_cast<MemoryStream*>(opaque);
    stream->position = 0;
    return stream;
  }
  static uLong ZCALLBACK Read(voidpf, voidpf handle, void* buffer, uLong size) {
    auto* stream = static_cast<MemoryStream*>(handle);
    uint64_t left = stream->size - std::min(stream->position, stream->size);
    uLong count = static_cast<uLong>(std::min<uint64_t>(size, left));
    if (count > 0) std::memcpy(buffer, stream->data + stream->position, count);
    stream->position += count;
    return count;
  }
  static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
  static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf handle) { return static_cast<MemoryStream*>(handle)->position; }
  static long ZCALLBACK Seek(voidpf, voidpf handle, ZPOS64_T offset, int origin) {
    auto* stream = static_cast<MemoryStream*>(handle);
    uint64_t base;
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
      case ZLIB_FILEFUNC_SEEK_CUR: base = stream->position; break;
      case ZLIB_FILEFUNC_SEEK_END: base = stream->size; break;
      default: return -1;
    }
    if (offset > stream->size || base + offset > stream->size) return -1;
    stream->position = base + offset;
    return 0;
  }
  static int ZCALLBACK Close(voidpf, voidpf) { return 0; }
  static int ZCALLBACK Error(voidpf, voidpf) { return 0; }
};

SkinPackage::SkinPackage() = default;

SkinPackage::~SkinPackage() { Close(); }

bool SkinPackage::Open(const void* data, size_t size) {
  Close();
  return OpenStream(data, size);
}

bool SkinPackage::OpenStream(const void* data, size_t size) {
  if (data == nullptr || size == 0) return false;
  stream_ = new MemoryStream{static_cast<const unsigned char*>(data), size, 0};
  zlib_filefunc64_def functions{};
  functions.zopen64_file = &MemoryStream::Open;
  functions.zread_file = &MemoryStream::Read;
  functions.zwrite_file = &MemoryStream::Write;
  functions.ztell64_file = &MemoryStream::Tell;
  functions.zseek64_file = &MemoryStream::Seek;
  functions.zclose_file = &MemoryStream::Close;
  functions.zerror_file = &MemoryStream::Error;
  functions.opaque = stream_;
  handle_ = unzOpen2_64("memory", &functions);
  if (handle_ == nullptr) {
    delete stream_;
    stream_ = nullptr;
    return false;
  }
  return true;
}

bool SkinPackage::OpenCopy(std::string bytes) {
  Close();
  owned_ = std::move(bytes);
  if (OpenStream(owned_.data(), owned_.size())) return true;
  owned_.clear();
  return false;
}

void SkinPackage::Close() {
  if (handle_ != nullptr) unzClose(static_cast<unzFile>(handle_));
  handle_ = nullptr;
  delete stream_;
  stream_ = nullptr;
  std::string().swap(owned_);
}

std::u16string SkinPackage::NormalizePath(std::u16string_view path) {
  std::u16string text(path);
  std::replace(text.begin(), text.end(), u'\\', u'/');
  // Segments that end with "/" are resolved; the last one (no "/") is kept as written.
  std::vector<std::u16string_view> kept;
  std::u16string_view rest(text);
  while (true) {
    size_t slash = rest.find(u'/');
    if (slash == std::u16string_view::npos) break;
    std::u16string_view segment = rest.substr(0, slash);
    rest.remove_prefix(slash + 1);
    if (segment.empty() || segment == u".") continue;
    if (segment == u"..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(segment);
  }
  std::u16string result;
  result.reserve(text.size());
  for (std::u16string_view segment : kept) {
    result.append(segment);
    result.push_back(u'/');
  }
  result.append(rest);
  return result;
}

std::vector<std::string> SkinPackage::EntryNames() const {
  std::vector<std::string> names;
  if (handle_ == nullptr) return names;
  auto zip = static_cast<unzFile>(handle_);
  for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
    char name[kMaxNameBytes + 1] = {};
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    names.emplace_back(name);
  }
  return names;
}

std::optional<std::string> SkinPackage::ReadFile(std::u16string_view path) const {
  if (handle_ == nullptr || path.empty()) return std::nullopt;
  std::string name = Utf16ToUtf8(NormalizePath(path));
  if (name.empty() || name.size() >= kMaxNameBytes || name.find('\0') != std::string::npos) return std::nullopt;
  auto zip = static_cast<unzFile>(handle_);
  // 2: compare without regard to ASCII letter case.
  if (unzLocateFile(zip, name.c_str(), 2) != UNZ_OK) return std::nullopt;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return std::nullopt;
  if (info.uncompressed_size > kMaxEntryBytes) return std::nullopt;
  // An unencrypted entry must be opened without a password, or minizip would
  // try to decrypt it.
  int opened = (info.flag & 1) != 0 ? unzOpenCurrentFilePassword(zip, "") : unzOpenCurrentFile(zip);
  if (opened != UNZ_OK) return std::nullopt;
  std::string bytes;
  size_t expected = static_cast<size_t>(info.uncompressed_size);
  // Grows with what really inflates, so a false size claim costs nothing.
  bool ok = true;
  while (true) {
    size_t chunk = std::min<size_t>(std::max<size_t>(expected - std::min(expected, bytes.size()), 1), 1u << 20);
    size_t old_size = bytes.size();
    bytes.resize(old_size + chunk);
    int read = unzReadCurrentFile(zip, bytes.data() + old_size, static_cast<unsigned>(chunk));
    if (read < 0) {
      ok = false;
      break;
    }
    bytes.resize(old_size + static_cast<size_t>(read));
    if (read == 0) break;
    if (bytes.size() > expected) {
      ok = false;
      break;
    }
  }
  int closed = unzCloseCurrentFile(zip);
  if (!ok || closed != UNZ_OK || bytes.size() != expected) return std::nullopt;
  return bytes;
}

}  // namespace ui
