#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Starting programs, waiting for them, and finding running ones.
namespace platform {

// The result when a started program's exit status cannot be read.
inline constexpr int32_t kExitCodeUnavailable = -10002;
// A child that a signal ended reports kExitCodeSignalBase + the signal number
// (137 for SIGKILL, 139 for SIGSEGV), as a shell does.
inline constexpr int32_t kExitCodeSignalBase = 128;

// Starts a program with no window of its own and waits, without a time limit,
// for it to end; returns its exit code.
//
// With an empty `application`, the program is the first part of `command_line`:
// the text up to the closing quote when it starts with a double quote;
// otherwise the shortest run of words that names an existing file (so
// '/home/a b/setup.exe /S' finds '/home/a b/setup.exe'), or a name found in
// $PATH. The rest is split into arguments by SplitArguments (command_line.h).
// With an `application`, that file is the program and the arguments are those
// of `command_line` after its first part.
//
// A program file beginning with "MZ" is a Windows program: it runs through the
// runner named by $LUMORA_PE_RUNNER, else `wine` from $PATH.
//
// A program that cannot be started gives an errno value: 2 (ENOENT) when the
// file is missing, 13 (EACCES) when it may not be run, 8 (ENOEXEC) for a
// Windows program with no runner installed, 22 (EINVAL) for an empty command
// line. The child inherits no open files of the caller beyond the standard
// three.
int32_t RunProcessAndWait(std::string_view application, std::string_view command_line);

// Process ids of the running processes whose program base name (the part of
// their first argument after the last '/' or '\') is exactly `name`.
std::vector<int> FindProcessesByName(std::string_view name);

// Ends the process at once (SIGKILL); false when it is gone or not ours.
bool TerminateProcessById(int pid);

// The full path of the running program; empty when it cannot be read.
std::string ExecutablePath();

// `name` looked up in $PATH (an executable file) when it holds no '/', else
// `name` itself when it is an existing regular file; empty otherwise.
std::string FindProgram(std::string_view name);

// Whether the file starts with "MZ" (a Windows program).
bool IsWindowsProgram(const std::string& path);

// The runner for Windows programs: $LUMORA_PE_RUNNER, else `wine` when
// installed; empty when there is none.
std::string WindowsProgramRunner();

}  // namespace platform
