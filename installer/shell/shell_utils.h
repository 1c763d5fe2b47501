#pragma once

#include <string>

// The process shell's utilities. Any thread; no shared state.

// The path of a special folder by its desktop-system number: 0x2A the program
// files folder, 0x1A the roaming application-data folder, 0 the desktop. Empty
// for any other number and when the folder cannot be determined.
std::u16string GetShellFolderPath(int csidl);

// Opens an address with the desktop's handler, detached, after trimming spaces
// and control characters below 30 from both ends. False when no handler could be
// started.
bool OpenUrl(const std::u16string& url);

// The system time in milliseconds since 1601-01-01 UTC, as unsigned decimal
// text (used to time the download and the setup run).
std::string NowMillisText();
