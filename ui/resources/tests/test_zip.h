#pragma once

#include <minizip/zip.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace ui::testing {

// Writes a ZIP archive of (name, content) entries, deflated, to `path`, and
// returns its bytes.
inline std::string WriteZip(const std::filesystem::path& path,
                            const std::vector<std::pair<std::string, std::string>>& entries) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return {};
  for (const auto& [name, content] : entries) {
    zip_fileinfo info{};
    zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                          Z_DEFAULT_COMPRESSION, 0);
    zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace ui::testing
