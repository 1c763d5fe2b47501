// lumora-reg: reads and changes the program's registry store from a shell.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_key.h"

namespace {

using platform::RegistryHive;
using platform::RegistryStore;
using platform::RegStatus;

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 3;

const char kUsage[] =
    "usage: lumora-reg query  KEY [NAME]        print one value, or every value of KEY\n"
    "       lumora-reg add    KEY [NAME DATA]   create KEY, and set NAME to DATA\n"
    "       lumora-reg delete KEY [NAME]        delete the value NAME, or KEY with all below it\n"
    "       lumora-reg list   KEY               print the names of KEY's subkeys\n"
    "KEY starts with the hive: HKCU\\... (HKEY_CURRENT_USER) or HKLM\\... (HKEY_LOCAL_MACHINE).\n"
    "An empty NAME (\"\") is the key's default value. Names ignore letter case.\n"
    "Exit codes: 0 done, 1 key or value not found, 2 usage error, 3 the store failed.\n"
    "Stores: $XDG_CONFIG_HOME/lumora/registry.db and $LUMORA_MACHINE_HIVE.\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "lumora-reg: %s\n%s", problem, kUsage);
  return kExitUsage;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

// Splits "HKCU\Software\x" into the hive and the path below it.
bool ParseKey(std::string_view text, RegistryHive* hive, std::string* path) {
  size_t slash = text.find('\\');
  std::string_view root = text.substr(0, slash);
  if (EqualsIgnoringCase(root, "HKCU") || EqualsIgnoringCase(root, "HKEY_CURRENT_USER")) {
    *hive = RegistryHive::kCurrentUser;
  } else if (EqualsIgnoringCase(root, "HKLM") || EqualsIgnoringCase(root, "HKEY_LOCAL_MACHINE")) {
    *hive = RegistryHive::kLocalMachine;
  } else {
    return false;
  }
  *path = slash == std::string_view::npos ? std::string() : std::string(text.substr(slash + 1));
  return true;
}

int Report(RegStatus status, const std::string& file, const std::string& what) {
  switch (status) {
    case RegStatus::kOk:
      return kExitOk;
    case RegStatus::kNotFound:
      std::fprintf(stderr, "lumora-reg: %s not found\n", what.c_str());
      return kExitNotFound;
    case RegStatus::kInvalidName:
      std::fprintf(stderr,
                   "lumora-reg: %s: invalid name (empty key name, a name over 255 characters, "
                   "or the hive root)\n",
                   what.c_str());
      return kExitUsage;
    case RegStatus::kAccessDenied:
      std::fprintf(stderr, "lumora-reg: cannot write the store %s (access denied)\n", file.c_str());
      return kExitFailed;
    case RegStatus::kStoreFailed:
      break;
  }
  std::fprintf(stderr, "lumora-reg: cannot use the store %s\n", file.c_str());
  return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (args.size() < 2) return Usage("missing command or key");
  const std::string& command = args[0];
  RegistryHive hive;
  std::string path;
  if (!ParseKey(args[1], &hive, &path)) {
    return Usage(("key must start with HKCU\\ or HKLM\\: " + args[1]).c_str());
  }
  std::string file = platform::RegistryHiveFile(hive);
  RegistryStore store(file);
  std::string key_text = "key " + args[1];

  if (command == "query") {
    if (args.size() == 3) {
      std::string value;
      RegStatus status = store.ReadString(path, args[2], &value);
      if (status == RegStatus::kOk) std::printf("%s\n", value.c_str());
      return Report(status, file, "value \"" + args[2] + "\" of " + key_text);
    }
    if (args.size() != 2) return Usage("query takes KEY [NAME]");
    std::vector<std::pair<std::string, std::string>> values;
    RegStatus status = store.Values(path, &values);
    for (const auto& [name, data] : values) std::printf("%s\t%s\n", name.c_str(), data.c_str());
    return Report(status, file, key_text);
  }
  if (command == "add") {
    if (args.size() == 2) return Report(store.CreateKey(path), file, key_text);
    if (args.size() != 4) return Usage("add takes KEY [NAME DATA]");
    return Report(store.WriteString(path, args[2], args[3], true), file, key_text);
  }
  if (command == "delete") {
    if (args.size() == 2) return Report(store.DeleteKey(path), file, key_text);
    if (args.size() != 3) return Usage("delete takes KEY [NAME]");
    return Report(store.DeleteValue(path, args[2]), file,
                  "value \"" + args[2] + "\" of " + key_text);
  }
  if (command == "list") {
    if (args.size() != 2) return Usage("list takes KEY");
    std::vector<std::string> names;
    RegStatus status = store.SubkeyNames(path, &names);
    for (const std::string& name : names) std::printf("%s\n", name.c_str());
    return Report(status, file, key_text);
  }
  return Usage(("unknown command " + command).c_str());
}
