#pragma once

#include <string>

// The machine's identifier: 32 upper-case hexadecimal digits made once per user
// from a random GUID and kept in the registry value "UniqueId" of the
// application key; a stored value is used as it is, unchecked. Computed by the
// first call (start-up, UI thread) and unchanged for the life of the process.
// A value that cannot be stored is still used by this process.
std::u16string GetUniqueId();

// MD5 (RFC 1321) of the text's UTF-8 bytes as 32 upper-case hexadecimal digits.
std::u16string Md5Hex(const std::u16string& text);

// The operating-system name from the fixed table of names the statistics server
// knows; "unknown OperatingSystem." when no row matches. Never fails.
std::u16string GetOsName();

// "64bit" on an x86-64 or IA-64 machine, "32bit" on any other.
std::u16string BitnessWord();
