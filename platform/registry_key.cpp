#include "platform/registry_key.h"

#include <cstdlib>

#include "platform/special_folders.h"

namespace platform {

namespace {

RegistryKey Invalid(RegStatus* out, RegStatus status) {
  if (out != nullptr) *out = status;
  return RegistryKey();
}

}  // namespace

std::string RegistryHiveFile(RegistryHive hive) {
  if (hive == RegistryHive::kLocalMachine) {
    const char* file = getenv("LUMORA_MACHINE_HIVE");
    return file != nullptr && file[0] != '\0' ? file : "/var/lib/lumora/machine-registry.db";
  }
  // XDG: a relative $XDG_CONFIG_HOME is invalid and ignored.
  const char* config = getenv("XDG_CONFIG_HOME");
  std::string home = HomeFolder();
  std::string folder = config != nullptr && config[0] == '/' ? std::string(config)
                       : home.empty()                        ? std::string("/tmp/.config")
                                                             : home + "/.config";
  return folder + "/lumora/registry.db";
}

RegistryKey RegistryKey::Open(RegistryHive hive, std::string_view path, RegStatus* status) {
  std::string file = RegistryHiveFile(hive);
  RegStatus result = RegistryStore(file).KeyExists(path);
  if (result != RegStatus::kOk) return Invalid(status, result);
  if (status != nullptr) *status = result;
  return RegistryKey(std::move(file), std::string(path));
}

RegistryKey RegistryKey::Create(RegistryHive hive, std::string_view path, RegStatus* status) {
  std::string file = RegistryHiveFile(hive);
  RegStatus result = RegistryStore(file).CreateKey(path);
  if (result != RegStatus::kOk) return Invalid(status, result);
  if (status != nullptr) *status = result;
  return RegistryKey(std::move(file), std::string(path));
}

RegStatus RegistryKey::ReadString(std::string_view name, std::string* value) const {
  return valid_ ? store_.ReadString(path_, name, value) : RegStatus::kNotFound;
}

RegStatus RegistryKey::WriteString(std::string_view name, std::string_view value) {
  return valid_ ? store_.WriteString(path_, name, value) : RegStatus::kNotFound;
}

RegStatus RegistryKey::DeleteValue(std::string_view name) {
  return valid_ ? store_.DeleteValue(path_, name) : RegStatus::kNotFound;
}

RegStatus RegistryKey::SubkeyNames(std::vector<std::string>* names) const {
  names->clear();
  return valid_ ? store_.SubkeyNames(path_, names) : RegStatus::kNotFound;
}

RegStatus RegistryKey::Values(std::vector<std::pair<std::string, std::string>>* values) const {
  values->clear();
  return valid_ ? store_.Values(path_, values) : RegStatus::kNotFound;
}

RegistryKey RegistryKey::OpenSubkey(std::string_view name, RegStatus* status) const {
  if (!valid_) return Invalid(status, RegStatus::kNotFound);
  std::string path = path_ + "\\" + std::string(name);
  RegStatus result = store_.KeyExists(path);
  if (result != RegStatus::kOk) return Invalid(status, result);
  if (status != nullptr) *status = result;
  return RegistryKey(store_.file(), std::move(path));
}

RegStatus DeleteRegistryKey(RegistryHive hive, std::string_view path) {
  return RegistryStore(RegistryHiveFile(hive)).DeleteKey(path);
}

}  // namespace platform

