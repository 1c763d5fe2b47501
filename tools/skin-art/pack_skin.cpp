// Packs the skin sources into the ZIP archive that the installer carries as resource THEME 136.
//
//   lumora-pack-skin <resources folder> <archive.zip>
//
// The archive holds the folders "lang" and "themes" of the resources folder under the prefix
// "resources/": every folder as an entry of its own (trailing slash), every file deflated. The
// entries are written in sorted order with a fixed time stamp, so the same sources always give
// the same bytes. The archive is written beside the target and renamed into place, so a failed
// run never leaves a half-written package behind.

#include <minizip/zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "resources/";
constexpr const char* kPackedFolders[] = {"lang", "themes"};
constexpr unsigned long kDosDirectoryAttribute = 0x10;

struct Entry {
  std::string name;  // archive name, "resources/..." ("/" at the end for a folder)
  fs::path source;   // empty for a folder
};

bool ReadFile(const fs::path& path, std::vector<char>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Every folder and file below root/<packed folder>, folders before their contents.
bool CollectEntries(const fs::path& root, std::vector<Entry>* entries, std::string* error) {
  entries->push_back({kPrefix, {}});
  for (const char* top : kPackedFolders) {
    const fs::path base = root / top;
    std::error_code ec;
    if (!fs::is_directory(base, ec)) {
      *error = base.string() + " is not a folder";
      return false;
    }
    entries->push_back({std::string(kPrefix) + top + "/", {}});
    for (fs::recursive_directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string rel = fs::relative(it->path(), root, ec).generic_string();
      if (ec) break;
      if (it->is_directory(ec)) {
        entries->push_back({std::string(kPrefix) + rel + "/", {}});
      } else if (it->is_regular_file(ec)) {
        entries->push_back({std::string(kPrefix) + rel, it->path()});
      }
    }
    if (ec) {
      *error = "cannot list " + base.string() + ": " + ec.message();
      return false;
    }
  }
  // Sorting by name puts "a/" before "a/b" and is stable across file systems.
  std::sort(entries->begin(), entries->end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return true;
}

bool WriteEntry(zipFile zip, const Entry& entry, std::string* error) {
  zip_fileinfo info{};
  info.tmz_date.tm_year = 2024;
  info.tmz_date.tm_mon = 0;  // January (months count from 0)
  info.tmz_date.tm_mday = 1;
  const bool folder = entry.source.empty();
  info.external_fa = folder ? kDosDirectoryAttribute : 0;

  std::vector<char> bytes;
  if (!folder && !ReadFile(entry.source, &bytes)) {
    *error = "cannot read " + entry.source.string();
    return false;
  }
  // Folders carry no data and are stored; files are deflated at the best level.
  const int method = folder ? 0 : Z_DEFLATED;
  const int level = folder ? 0 : Z_BEST_COMPRESSION;
  if (zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                          level) != ZIP_OK) {
    *error = "cannot add " + entry.name;
    return false;
  }
  if (!bytes.empty() &&
      zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK) {
    zipCloseFileInZip(zip);
    *error = "cannot write " + entry.name;
    return false;
  }
  if (zipCloseFileInZip(zip) != ZIP_OK) {
    *error = "cannot finish " + entry.name;
    return false;
  }
  return true;
}

bool Pack(const fs::path& root, const fs::path& out, std::string* error) {
  std::vector<Entry> entries;
  if (!CollectEntries(root, &entries, error)) return false;

  const fs::path temp = out.string() + ".part";
  zipFile zip = zipOpen(temp.c_str(), APPEND_STATUS_CREATE);
  if (!zip) {
    *error = "cannot create " + temp.string();
    return false;
  }
  bool ok = true;
  for (const Entry& entry : entries) {
    if (!WriteEntry(zip, entry, error)) {
      ok = false;
      break;
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK && ok) {
    *error = "cannot finish " + temp.string();
    ok = false;
  }
  std::error_code ec;
  if (ok) {
    fs::rename(temp, out, ec);
    if (ec) {
      *error = "cannot move the archive to " + out.string() + ": " + ec.message();
      ok = false;
    }
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <resources folder> <archive.zip>\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!Pack(argv[1], argv[2], &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  return 0;
}
