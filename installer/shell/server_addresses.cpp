#include "installer/shell/server_addresses.h"

#include <cstdlib>

namespace {

std::string Configured(const char* variable, const char* built_in) {
  const char* value = std::getenv(variable);
  std::string address = value && *value ? value : built_in;
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}

}  // namespace

std::string StatsServerAddress() {
  return Configured("LUMORA_STATS_SERVER", LUMORA_STATS_SERVER_DEFAULT);
}
std::string CdnServerAddress() { return Configured("LUMORA_CDN_SERVER", LUMORA_CDN_SERVER_DEFAULT); }
std::string WebServerAddress() { return Configured("LUMORA_WEB_SERVER", LUMORA_WEB_SERVER_DEFAULT); }
std::string OfflineServerAddress() {
  return Configured("LUMORA_OFFLINE_SERVER", LUMORA_OFFLINE_SERVER_DEFAULT);
}
