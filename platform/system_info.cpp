#include "platform/system_info.h"

#include <sys/utsname.h>

#include <fstream>
#include <map>

namespace platform {

namespace {

// KEY=value lines; values may be quoted with " or ' and use \ escapes.
std::map<std::string, std::string> ReadOsRelease(const std::string& path) {
  std::map<std::string, std::string> fields;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      std::string unquoted;
      for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[0] == '"' && value[i] == '\\' && i + 2 < value.size()) ++i;
        unquoted += value[i];
      }
      value = unquoted;
    }
    fields[line.substr(0, equals)] = value;
  }
  return fields;
}

}  // namespace

std::string BitnessWordFor(const std::string& machine) {
  return machine == "x86_64" || machine == "ia64" ? "64bit" : "32bit";
}

std::string BitnessWord() {
  utsname names{};
  if (uname(&names) != 0) return "32bit";
  return BitnessWordFor(names.machine);
}

std::string OperatingSystemDescriptionFrom(const std::string& os_release_path,
                                           const std::string& kernel_name,
                                           const std::string& kernel_release) {
  std::map<std::string, std::string> fields = ReadOsRelease(os_release_path);
  std::string name = fields["PRETTY_NAME"];
  if (name.empty()) {
    name = fields["NAME"];
    if (!fields["VERSION"].empty()) name += (name.empty() ? "" : " ") + fields["VERSION"];
  }
  std::string kernel = kernel_name.empty() ? std::string("Linux") : kernel_name;
  if (!kernel_release.empty()) kernel += " " + kernel_release;
  return name.empty() ? kernel : name + "; " + kernel;
}

std::string OperatingSystemDescription() {
  utsname names{};
  std::string kernel_name;
  std::string kernel_release;
  if (uname(&names) == 0) {
    kernel_name = names.sysname;
    kernel_release = names.release;
  }
  std::ifstream probe("/etc/os-release");
  std::string path = probe ? "/etc/os-release" : "/usr/lib/os-release";
  return OperatingSystemDescriptionFrom(path, kernel_name, kernel_release);
}

}  // namespace platform
