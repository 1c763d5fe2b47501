#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/markup/markup_document.h"

namespace skin_tool {

// Exit codes of every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitParseError = 1;
constexpr int kExitUsage = 2;

// A subcommand: `lumora-skin NAME ARGS...`. Each lives in its own source file
// and registers itself with a static SkinCommandRegistration, so adding one
// means adding a file to this tool's CMakeLists.txt and nothing else.
struct SkinCommand {
  const char* name;
  const char* usage;  // "check FILE"
  const char* summary;
  int (*run)(const std::vector<std::string>& args);
};

struct SkinCommandRegistration {
  explicit SkinCommandRegistration(const SkinCommand& command);
};

// The registered commands, sorted by name.
const std::vector<SkinCommand>& Commands();

// Loads markup from a file, or from an entry of a skin package written as
// PACKAGE.zip:PATH (the entry is found with the package's path and letter-case
// rules and read as the skin builder reads packaged files: UTF-8 as it stands,
// up to the first zero byte). On failure `error` is the reader's message and
// location on one line (the location quoted, control characters escaped); a
// missing package or entry reads as "Error opening file".
bool LoadMarkup(std::string_view source, ui::MarkupDocument& document, std::string* error);

// The common start of a command taking one FILE|PACKAGE.zip:PATH argument:
// kExitOk when the markup loaded; otherwise the exit code, after printing the
// error (kExitParseError) or nothing (kExitUsage, the caller prints usage).
int LoadSingleArgument(const std::vector<std::string>& args, ui::MarkupDocument& document);

}  // namespace skin_tool
