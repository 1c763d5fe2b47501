#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry_store.h"

// Keys of the two registry hives the program uses, each an SQLite store
// (platform/registry_store.h says how names compare and how writes behave):
//   current user:  $XDG_CONFIG_HOME/lumora/registry.db (~/.config/lumora/registry.db)
//   local machine: $LUMORA_MACHINE_HIVE when set, else /var/lib/lumora/machine-registry.db
// The desktop system keeps a 32-bit and a 64-bit view of the machine hive; here
// one store serves both views, so a key opened in either view is the same key.
namespace platform {

enum class RegistryHive { kCurrentUser, kLocalMachine };

// The store file of a hive, read from the environment at every call.
std::string RegistryHiveFile(RegistryHive hive);

// A handle to a key: cheap to copy, resolved by path at every call, so a key
// deleted meanwhile answers kNotFound.
class RegistryKey {
 public:
  RegistryKey() = default;

  // The key when it exists; an invalid handle otherwise (`status` says why).
  static RegistryKey Open(RegistryHive hive, std::string_view path, RegStatus* status = nullptr);
  // The key, created together with its missing parents when needed.
  static RegistryKey Create(RegistryHive hive, std::string_view path, RegStatus* status = nullptr);

  bool IsValid() const { return valid_; }
  const std::string& path() const { return path_; }

  // An invalid handle answers kNotFound.
  RegStatus ReadString(std::string_view name, std::string* value) const;
  RegStatus WriteString(std::string_view name, std::string_view value);
  RegStatus DeleteValue(std::string_view name);
  RegStatus SubkeyNames(std::vector<std::string>* names) const;
  RegStatus Values(std::vector<std::pair<std::string, std::string>>* values) const;
  RegistryKey OpenSubkey(std::string_view name, RegStatus* status = nullptr) const;

 private:
  RegistryKey(std::string file, std::string path)
      : store_(std::move(file)), path_(std::move(path)), valid_(true) {}

  RegistryStore store_{""};
  std::string path_;
  bool valid_ = false;
};

// Deletes the key with its subkeys and values.
RegStatus DeleteRegistryKey(RegistryHive hive, std::string_view path);

}  // namespace platform
