#pragma once

#include <string>

// The application's key under the current user's hive.
inline constexpr char16_t kAppInfoKey[] = u"Software\\zorv\\lumora\\AppInfo";

// String values under the current user's hive. Any thread.
// Empty when the key or value is missing or cannot be read, and when the value
// does not fit the 260-unit read buffer (259 UTF-16 units and its terminator).
std::u16string ReadRegString(const std::u16string& key_path, const std::u16string& name);
// Creates the key when needed. 0 on success, 1 on failure.
int WriteRegString(const std::u16string& key_path, const std::u16string& name,
                   const std::u16string& text);
