#include <cstdio>
#include <string>

#include "tools/skin/skin_command.h"
#include "ui/markup/utf.h"

namespace skin_tool {
namespace {

// Attribute values are written back with the reader's entities, so the output
// reads as markup.
std::string Escape(std::u16string_view value) {
  std::string out;
  for (char c : ui::Utf16ToUtf8(value)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

int RunTree(const std::vector<std::string>& args) {
  ui::MarkupDocument document;
  if (int code = LoadSingleArgument(args, document); code != kExitOk) return code;
  // Depth-first in document order, without recursion (nesting may be deep).
  std::string line;
  size_t depth = 0;
  ui::MarkupNode node = document.GetRoot();
  while (node.IsValid()) {
    line.assign(depth * 2, ' ');
    line += ui::Utf16ToUtf8(node.Name());
    for (size_t i = 0; i < node.AttributeCount(); ++i) {
      line += " " + ui::Utf16ToUtf8(node.AttributeName(i)) + "=\"" + Escape(node.AttributeValue(i)) + "\"";
    }
    std::printf("%s\n", line.c_str());
    if (node.HasChildren()) {
      node = node.FirstChild();
      ++depth;
      continue;
    }
    while (node.IsValid() && !node.NextSibling().IsValid()) {
      node = node.Parent();
      if (depth > 0) --depth;
    }
    if (node.IsValid()) node = node.NextSibling();
  }
  return kExitOk;
}

const SkinCommandRegistration kTree({"tree", "tree FILE|PACKAGE.zip:PATH",
                                     "print the element tree with attributes in document order", &RunTree});

}  // namespace
}  // namespace skin_tool
