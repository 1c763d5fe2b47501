#pragma once

#include <string>

// Base addresses of the outside servers: scheme, host and optional port, without
// a trailing "/" ("http://127.0.0.1:8080"). Each comes from the build's
// configuration (the CMake cache variable of the same name) unless the
// environment variable of that name is set and not empty (testing, staging).
std::string StatsServerAddress();    // LUMORA_STATS_SERVER: reports, first download source
std::string CdnServerAddress();      // LUMORA_CDN_SERVER: second download source
std::string WebServerAddress();      // LUMORA_WEB_SERVER: the privacy page
std::string OfflineServerAddress();  // LUMORA_OFFLINE_SERVER: the offline-package page
