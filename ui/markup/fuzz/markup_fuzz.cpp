// Feeds arbitrary bytes to the markup reader, as UTF-8 (the file path) and as
// raw UTF-16 (the text path), and walks whatever it built.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "ui/markup/markup_document.h"

namespace {

size_t Walk(const ui::MarkupDocument& document) {
  size_t total = 0;
  for (uint32_t i = 1; i < document.Elements().size(); ++i) {
    ui::MarkupNode node(&document, i);
    total += node.Name().size() + node.Value().size();
    total += node.Parent().Index() + node.FirstChild().Index() + node.NextSibling().Index();
    for (size_t a = 0; a < node.AttributeCount(); ++a) {
      total += node.AttributeName(a).size() + node.AttributeValue(a).size();
    }
    total += node.FindAttribute(u"name").has_value();
  }
  total += document.LastErrorMessage().size() + document.LastErrorLocation().size();
  return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ui::MarkupDocument document;
  document.LoadFromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  volatile size_t sink = Walk(document);

  std::u16string wide(size / 2, u'\0');
  if (!wide.empty()) std::memcpy(wide.data(), data, wide.size() * 2);
  document.LoadFromText(wide);
  sink = sink + Walk(document);
  (void)sink;
  return 0;
}
