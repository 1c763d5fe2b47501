#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One registry hive kept in an SQLite database file.
//
// Keys form a tree below the hive root; a key path names the keys from the root
// down, separated by backslashes ("Software\zorv\lumora\AppInfo"; leading and
// trailing backslashes are ignored, an empty path is the root). Values are
// named strings inside a key; the empty name is the key's default value.
//
// Key and value names compare without regard to case, as the desktop system's
// registry does: every character is folded to upper case with the Unicode
// simple case mapping of the C.UTF-8 locale (so "Ä" matches "ä", and ASCII
// letters always match); a name keeps the spelling it was first written with.
//
// Every write is one transaction: a crash leaves the store as it was before the
// write or after it, never half-way. Several processes may use one store at once;
// a writer waits for another (up to ten seconds) and nothing is lost. A store
// file that turns out to be damaged is renamed to "<file>.corrupt-<time>", a
// line on stderr says so, and a fresh store takes its place; the call is then
// retried on the fresh store.
//
// The store uses SQLite's rollback journal rather than WAL, so a user without
// write permission (the machine hive as a normal user) can still read it.
namespace platform {

// Results, numbered as the desktop system's registry functions number theirs.
enum class RegStatus : int32_t {
  kOk = 0,
  kNotFound = 2,         // key or value missing (ERROR_FILE_NOT_FOUND)
  kAccessDenied = 5,     // the store cannot be written (ERROR_ACCESS_DENIED)
  kInvalidName = 87,     // empty path component, or a key name over 255 bytes
  kStoreFailed = 1016,   // the store cannot be opened or read (ERROR_REGISTRY_IO_FAILED)
};

class RegistryStore {
 public:
  explicit RegistryStore(std::string file) : file_(std::move(file)) {}

  const std::string& file() const { return file_; }

  // kOk when the key exists.
  RegStatus KeyExists(std::string_view key) const;
  // Creates the key and every missing parent; kOk also when it existed.
  RegStatus CreateKey(std::string_view key);
  RegStatus ReadString(std::string_view key, std::string_view name, std::string* value) const;
  // Sets the value in an existing key; with create_key, creates the key first.
  RegStatus WriteString(std::string_view key, std::string_view name, std::string_view value,
                        bool create_key = false);
  RegStatus DeleteValue(std::string_view key, std::string_view name);
  // Deletes the key with all its subkeys and values. The root cannot be deleted.
  RegStatus DeleteKey(std::string_view key);
  // Names of the direct subkeys, in order of their folded names.
  RegStatus SubkeyNames(std::string_view key, std::vector<std::string>* names) const;
  // (name, data) of every value of the key, in order of their folded names.
  RegStatus Values(std::string_view key,
                   std::vector<std::pair<std::string, std::string>>* values) const;

 private:
  std::string file_;
};

// The folded form of a name under which the store compares it.
std::string FoldRegistryName(std::string_view name);

}  // namespace platform
