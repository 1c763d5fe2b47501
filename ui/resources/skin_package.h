#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A ZIP skin package read from memory. Entry names are found without regard to
// ASCII letter case, after the path is brought to the package's form.
class SkinPackage {
 public:
  // Entries claiming more than this are not read (a damaged or hostile package
  // must not make us allocate gigabytes).
  static constexpr size_t kMaxEntryBytes = 64u * 1024 * 1024;
  // Names of this many UTF-8 bytes or more are never found.
  static constexpr size_t kMaxNameBytes = 256;

  SkinPackage();
  ~SkinPackage();
  SkinPackage(const SkinPackage&) = delete;
  SkinPackage& operator=(const SkinPackage&) = delete;

  // Opens the archive over `data`, which must outlive the package (the
  // executable's resource). False when the bytes are not a readable archive.
  bool Open(const void* data, size_t size);
  // Same, keeping its own copy of the bytes.
  bool OpenCopy(std::string bytes);
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

  // The whole uncompressed entry, or nothing: not open, empty path, no such
  // entry, damaged data (inflate or checksum error), or an entry too large.
  std::optional<std::string> ReadFile(std::u16string_view path) const;

  // The names of the archive's entries as stored, in directory order.
  std::vector<std::string> EntryNames() const;

  // The package form of a path: "\" becomes "/", doubled "/" are removed,
  // "./" segments vanish and "../" removes the segment before it (a leading
  // "../" is dropped alone).
  static std::u16string NormalizePath(std::u16string_view path);

 private:
  struct MemoryStream;

  // Opens over bytes that stay valid (the caller's, or owned_).
  bool OpenStream(const void* data, size_t size);

  void* handle_ = nullptr;  // minizip unzFile
  MemoryStream* stream_ = nullptr;
  std::string owned_;
};

}  // namespace ui
