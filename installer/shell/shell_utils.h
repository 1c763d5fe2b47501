#pragma once

#include <string>

// The system time in milliseconds since 1601-01-01 UTC, as unsigned decimal
// text (used to time the download and the setup run). Any thread.
std::string NowMillisText();
