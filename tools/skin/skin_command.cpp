#include "tools/skin/skin_command.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "ui/markup/utf.h"
#include "ui/resources/skin_package.h"

namespace skin_tool {

namespace {

std::vector<SkinCommand>& Registry() {
  static std::vector<SkinCommand> commands;
  return commands;
}

// Where "PACKAGE.zip:" ends in `source` (letter case ignored), or npos.
size_t PackageSeparator(std::string_view source) {
  std::string lower(source);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  size_t at = lower.find(".zip:");
  return at == std::string::npos ? at : at + 4;
}

// The reader's error as one line: the message, then the location quoted.
std::string DescribeError(const ui::MarkupDocument& document) {
  std::string line = ui::Utf16ToUtf8(document.LastErrorMessage());
  std::string location = ui::Utf16ToUtf8(document.LastErrorLocation());
  if (location.empty()) return line;
  line += " at \"";
  for (unsigned char c : location) {
    switch (c) {
      case '\n': line += "\\n"; break;
      case '\r': line += "\\r"; break;
      case '\t': line += "\\t"; break;
      case '"': line += "\\\""; break;
      case '\\': line += "\\\\"; break;
      default:
        if (c < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", c);
          line += hex;
        } else {
          line.push_back(static_cast<char>(c));
        }
    }
  }
  line += "\"";
  return line;
}

}  // namespace

SkinCommandRegistration::SkinCommandRegistration(const SkinCommand& command) {
  auto& commands = Registry();
  commands.push_back(command);
  std::sort(commands.begin(), commands.end(),
            [](const SkinCommand& a, const SkinCommand& b) { return std::string_view(a.name) < b.name; });
}

const std::vector<SkinCommand>& Commands() { return Registry(); }

bool LoadMarkup(std::string_view source, ui::MarkupDocument& document, std::string* error) {
  size_t separator = PackageSeparator(source);
  if (separator == std::string_view::npos) {
    if (document.LoadFromFile(ui::Utf8ToUtf16(source))) return true;
    *error = DescribeError(document);
    return false;
  }

  std::string archive_path(source.substr(0, separator));
  std::u16string entry = ui::Utf8ToUtf16(source.substr(separator + 1));
  std::ifstream in(archive_path, std::ios::binary);
  ui::SkinPackage package;
  std::optional<std::string> bytes;
  if (in && package.OpenCopy(std::string(std::istreambuf_iterator<char>(in), {}))) bytes = package.ReadFile(entry);
  if (!bytes) {
    // Reported as the reader reports a file it cannot open.
    *error = "Error opening file";
    return false;
  }
  std::string_view text(*bytes);
  text = text.substr(0, text.find('\0'));
  if (document.LoadFromText(ui::Utf8ToUtf16(text))) return true;
  *error = DescribeError(document);
  return false;
}

int LoadSingleArgument(const std::vector<std::string>& args, ui::MarkupDocument& document) {
  if (args.size() != 1) return kExitUsage;
  std::string error;
  if (LoadMarkup(args[0], document, &error)) return kExitOk;
  std::printf("%s\n", error.c_str());
  return kExitParseError;
}

}  // namespace skin_tool
