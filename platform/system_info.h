#pragma once

#include <string>

// What the program reports about the machine it runs on.
namespace platform {

// "64bit" when the machine (uname) is x86-64 or IA-64, "32bit" for every other
// machine, ARM64 included: the statistics server knows only the words of the
// desktop system, which answers so for those processor architectures.
std::string BitnessWord();
// The same rule for a given uname machine text ("x86_64", "aarch64", ...).
std::string BitnessWordFor(const std::string& machine);

// The operating system: PRETTY_NAME of /etc/os-release (or /usr/lib/os-release),
// else NAME and VERSION, followed by the kernel: "Debian GNU/Linux 12 (bookworm);
// Linux 6.1.0-13-amd64". Never empty.
std::string OperatingSystemDescription();
// The same from a given os-release file and uname texts.
std::string OperatingSystemDescriptionFrom(const std::string& os_release_path,
                                           const std::string& kernel_name,
                                           const std::string& kernel_release);

}  // namespace platform
