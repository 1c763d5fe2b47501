#include "ui/markup/markup_document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <fstream>
#include <set>
#include <string>

#include "ui/markup/utf.h"
#include "ui/resources/global_resources.h"

namespace ui {
namespace {

// Element tree as text: Name[attr=value,...]{value}(child,child).
std::string Dump(MarkupNode node) {
  std::string out;
  for (; node.IsValid(); node = node.NextSibling()) {
    if (!out.empty()) out += ",";
    out += Utf16ToUtf8(node.Name());
    if (node.AttributeCount() > 0) {
      out += "[";
      for (size_t i = 0; i < node.AttributeCount(); ++i) {
        if (i > 0) out += ",";
        out += Utf16ToUtf8(node.AttributeName(i)) + "=" + Utf16ToUtf8(node.AttributeValue(i));
      }
      out += "]";
    }
    if (!node.Value().empty()) out += "{" + Utf16ToUtf8(node.Value()) + "}";
    if (node.HasChildren()) out += "(" + Dump(node.FirstChild()) + ")";
  }
  return out;
}

const std::set<std::string> kMessages = {
    "Error opening file",          "File is empty",
    "File too large",              "Could not read file",
    "Expected start tag",          "Error parsing element name",
    "Error while parsing attributes", "Expected attribute value",
    "Error while parsing attribute string", "Expected start-tag closing",
    "Expected end-tag start",      "Unmatched closing tag",
};

struct Case {
  const char* text;
  const char* tree;      // expected tree when the load succeeds
  const char* error;     // expected message when it fails (null: succeeds)
  const char* location;  // expected location when it fails
};

const Case kCases[] = {
    // Empty elements, with and without a blank before "/>".
    {"<Box />", "Box", nullptr, nullptr},
    {"<Box/>", "Box", nullptr, nullptr},
    {"<Box></Box>", "Box", nullptr, nullptr},
    {"<Font name=\"a\" size=\"10\"/>", "Font[name=a,size=10]", nullptr, nullptr},
    {"< A  x = \"1\" ></ A >", "A[x=1]", nullptr, nullptr},
    {"<A x=\"1\"y=\"2\"/>", "A[x=1,y=2]", nullptr, nullptr},
    {"<A x=\"\" y=\"2\"/>", "A[x=,y=2]", nullptr, nullptr},
    {"<A x=\"1\" x=\"2\"/>", "A[x=1,x=2]", nullptr, nullptr},
    {"<A x=\"1\" >", "A[x=1]", nullptr, nullptr},
    {"<A x=\"a > b / c\"/>", "A[x=a > b / c]", nullptr, nullptr},
    // Entities: the five, runs, unknown ones kept, values stay walkable.
    {"<A value=\"font=&quot;2&quot;\"/>", "A[value=font=\"2\"]", nullptr, nullptr},
    {"<A v=\"&copy;\"/>", "A[v=&copy;]", nullptr, nullptr},
    {"<A x=\"&amp;&amp;\" y=\"2\"/>", "A[x=&&,y=2]", nullptr, nullptr},
    {"<A x=\"&lt;&gt;&apos;&\" y=\"&\"/>", "A[x=<>'&,y=&]", nullptr, nullptr},
    {"<A>a&amp;b&lt;&gt;&apos;&quot;</A>", "A{a&b<>'\"}", nullptr, nullptr},
    {"<A> a &amp; b <B/></A>", "A{ a & b }(B)", nullptr, nullptr},
    // Structure: children in order, siblings at the top, missing end tags
    // of the root and its children, comments, declarations, instructions.
    {"<A><B/><C><D/></C></A>", "A(B,C(D))", nullptr, nullptr},
    {"<A/><B/>", "A,B", nullptr, nullptr},
    {"<Window><Box></Box>", "Window(Box)", nullptr, nullptr},
    {"<Window><Box>", "Window(Box)", nullptr, nullptr},
    {"<Window><Box/>", "Window(Box)", nullptr, nullptr},
    {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<A/>", "A", nullptr, nullptr},
    {"<!-- c --><A><!-- inner --><B/></A>", "A(B)", nullptr, nullptr},
    {"<A>text</A>", "A{text}", nullptr, nullptr},
    {"<A>\n  <B/>\n</A>", "A{\n  }(B)", nullptr, nullptr},
    {"<名字 属性=\"值\"/>", "名字[属性=值]", nullptr, nullptr},
    {"<a:b_c1/>", "a:b_c1", nullptr, nullptr},
    // No element at all: loads, with an invalid root.
    {"", "", nullptr, nullptr},
    {"  \n\t ", "", nullptr, nullptr},
    {"<!-- only a comment -->", "", nullptr, nullptr},
    {"<!DOCTYPE x><A/>", "", nullptr, nullptr},  // a declaration runs to the first "->"
    {"</A>", "", nullptr, nullptr},
    // Failures, with the text where they happened.
    {"hello", nullptr, "Expected start tag", "hello"},
    {"<A> text <B/> more </A>", nullptr, "Expected start tag", "more </A>"},
    {"<A><!-- a -> b --></A>", nullptr, "Expected start tag", "b --></A>"},
    {"<A><B><C/>", nullptr, "Expected start tag", ""},
    {"<A", nullptr, "Error parsing element name", ""},
    {"<my-box/>", nullptr, "Error while parsing attributes", "/>"},
    {"<A x/>", nullptr, "Error while parsing attributes", "/>"},
    {"<A x='1'/>", nullptr, "Expected attribute value", "1'/>"},
    {"<A x=1/>", nullptr, "Expected attribute value", "/>"},
    {"<A x=", nullptr, "Expected attribute value", ""},
    {"<A x=\"1", nullptr, "Error while parsing attribute string", ""},
    {"<A x=\"1\"", nullptr, "Expected start-tag closing", ""},
    {"<A x=\"1\" ?>", nullptr, "Error while parsing attributes", "?>"},
    {"<A x=\"1\"/ >", nullptr, "Expected start-tag closing", "/ >"},
    {"<Window><Box><Control>", nullptr, "Expected end-tag start", ""},
    {"<A/><B><C>", nullptr, "Expected end-tag start", ""},
    {"<HBox></Box>", nullptr, "Unmatched closing tag", "Box>"},
    {"<A></A x>", nullptr, "Unmatched closing tag", ">"},
    {"<A></A", nullptr, "Unmatched closing tag", ""},
    {"<A><B></A></B>", nullptr, "Unmatched closing tag", "A></B>"},
};

TEST(MarkupDocumentTest, CasesTable) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    MarkupDocument doc;
    bool loaded = doc.LoadFromText(Utf8ToUtf16(c.text));
    if (c.error == nullptr) {
      ASSERT_TRUE(loaded) << Utf16ToUtf8(doc.LastErrorMessage());
      EXPECT_EQ(Dump(doc.GetRoot()), c.tree);
      EXPECT_EQ(doc.LastErrorMessage(), u"");
    } else {
      EXPECT_FALSE(loaded);
      EXPECT_FALSE(doc.GetRoot().IsValid());
      EXPECT_EQ(Utf16ToUtf8(doc.LastErrorMessage()), c.error);
      EXPECT_EQ(Utf16ToUtf8(doc.LastErrorLocation()), c.location);
    }
  }
}

// Every prefix of a valid document either loads or stops with one of the
// reader's messages, and a failure always leaves the document empty.
TEST(MarkupDocumentTest, TruncatedPrefixesFailCleanly) {
  const std::u16string full = Utf8ToUtf16(
      "<?xml version=\"1.0\"?>\n<Window size=\"600,400\" caption=\"0,0,0,36\">\n"
      "  <!-- body -->\n  <VBox bkcolor=\"white\">\n"
      "    <Label name=\"title\" text=\"a &amp; b &lt;c&gt; 中文\"/>\n"
      "    <Button class=\"btn\" text=\"&quot;OK&quot;\"></Button>\n"
      "  </VBox>\n</Window>\n");
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromText(full));
  EXPECT_EQ(Dump(doc.GetRoot()),
            "Window[size=600,400,caption=0,0,0,36]{\n  }(VBox[bkcolor=white]{\n    }("
            "Label[name=title,text=a & b <c> 中文],Button[class=btn,text=\"OK\"]))");
  size_t loaded = 0;
  for (size_t length = 0; length < full.size(); ++length) {
    SCOPED_TRACE(length);
    bool ok = doc.LoadFromText(full.substr(0, length));
    if (ok) {
      ++loaded;
    } else {
      EXPECT_FALSE(doc.GetRoot().IsValid());
      EXPECT_EQ(kMessages.count(Utf16ToUtf8(doc.LastErrorMessage())), 1u) << Utf16ToUtf8(doc.LastErrorMessage());
      EXPECT_LE(doc.LastErrorLocation().size(), MarkupDocument::kMaxErrorLocation);
    }
  }
  EXPECT_GT(loaded, 0u);
}

TEST(MarkupDocumentTest, LocationIsCutAt49Characters) {
  MarkupDocument doc;
  std::u16string text = u"<A><B/>" + std::u16string(100, u'y') + u"</A>";
  EXPECT_FALSE(doc.LoadFromText(text));
  EXPECT_EQ(doc.LastErrorMessage(), u"Expected start tag");
  EXPECT_EQ(doc.LastErrorLocation(), std::u16string(49, u'y'));
}

TEST(MarkupDocumentTest, SixtyFourAttributesAreSeen) {
  std::string text = "<A";
  for (int i = 0; i < 70; ++i) text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  text += "/>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromText(Utf8ToUtf16(text)));
  MarkupNode root = doc.GetRoot();
  EXPECT_EQ(root.AttributeCount(), 64u);
  EXPECT_EQ(root.AttributeValue(63), u"63");
  EXPECT_EQ(root.FindAttribute(u"a63"), u"63");
  EXPECT_FALSE(root.FindAttribute(u"a64").has_value());
  EXPECT_EQ(root.AttributeName(64), u"");
}

TEST(MarkupDocumentTest, AttributeQueries) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromText(u"<A Name=\"first\" name=\"x\" name=\"y\" long=\"0123456789\"/>"));
  MarkupNode root = doc.GetRoot();
  EXPECT_EQ(root.FindAttribute(u"name"), u"x");   // first of duplicates, exact case
  EXPECT_EQ(root.FindAttribute(u"Name"), u"first");
  EXPECT_FALSE(root.FindAttribute(u"NAME").has_value());
  std::u16string value = u"stale";
  EXPECT_TRUE(root.FindAttribute(u"long", value, 4));
  EXPECT_EQ(value, u"0123");
  EXPECT_FALSE(root.FindAttribute(u"none", value, 4));
  EXPECT_EQ(value, u"");
}

TEST(MarkupDocumentTest, InvalidNodesAnswerNothing) {
  MarkupNode none;
  EXPECT_FALSE(none.IsValid());
  EXPECT_FALSE(none.FirstChild().IsValid());
  EXPECT_FALSE(none.NextSibling().IsValid());
  EXPECT_FALSE(none.Parent().IsValid());
  EXPECT_FALSE(none.HasChildren());
  EXPECT_EQ(none.Name(), u"");
  EXPECT_EQ(none.AttributeCount(), 0u);
  EXPECT_EQ(none.AttributeValue(0), u"");
  EXPECT_FALSE(none.FindAttribute(u"x").has_value());

  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromText(u"<A><B/></A>"));
  MarkupNode b = doc.GetRoot().FirstChild();
  EXPECT_EQ(b.Parent().Name(), u"A");
  EXPECT_FALSE(doc.GetRoot().Parent().IsValid());
  EXPECT_FALSE(b.FirstChild().IsValid());
}

// The table grows by capacity/2 + 500 from 0: 500, 1250, 2375 records.
TEST(MarkupDocumentTest, ElementTableGrowth) {
  auto load = [](MarkupDocument& doc, int elements) {
    std::u16string text = u"<R>";
    for (int i = 1; i < elements; ++i) text += u"<e/>";
    text += u"</R>";
    return doc.LoadFromText(text);
  };
  MarkupDocument doc;
  ASSERT_TRUE(load(doc, 499));  // 500 records with the reserved one
  EXPECT_EQ(doc.ElementCapacity(), 500u);
  ASSERT_TRUE(load(doc, 500));
  EXPECT_EQ(doc.Elements().size(), 501u);
  EXPECT_EQ(doc.ElementCapacity(), 1250u);
  ASSERT_TRUE(load(doc, 1250));
  EXPECT_EQ(doc.ElementCapacity(), 2375u);
}

// Nesting is not bounded by the call stack.
TEST(MarkupDocumentTest, DeepNesting) {
  std::u16string text;
  const int depth = 200000;
  for (int i = 0; i < depth; ++i) text += u"<a>";
  for (int i = 0; i < depth; ++i) text += u"</a>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromText(text));
  EXPECT_EQ(doc.Elements().size(), static_cast<size_t>(depth) + 1);
}

class MarkupFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("markup_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::u16string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return Utf8ToUtf16((dir_ / name).string());
  }
  std::filesystem::path dir_;
};

TEST_F(MarkupFileTest, ByteOrderMarkMakesNoDifference) {
  const std::string text = "<Window text=\"中文 &amp; more\"><Label/></Window>";
  MarkupDocument plain, marked;
  ASSERT_TRUE(plain.LoadFromFile(Write("plain.xml", text)));
  ASSERT_TRUE(marked.LoadFromFile(Write("bom.xml", "\xEF\xBB\xBF" + text)));
  EXPECT_EQ(Dump(plain.GetRoot()), Dump(marked.GetRoot()));
  EXPECT_EQ(Dump(plain.GetRoot()), "Window[text=中文 & more](Label)");
}

TEST_F(MarkupFileTest, SizeLimitsAndOpenErrors) {
  // Exactly 4 MiB loads; one byte more is refused.
  std::string big = "<A>";
  big += std::string(MarkupDocument::kMaxFileBytes - big.size() - 4, 'x');
  big += "</A>";
  ASSERT_EQ(big.size(), MarkupDocument::kMaxFileBytes);
  MarkupDocument doc;
  EXPECT_TRUE(doc.LoadFromFile(Write("exact.xml", big)));
  EXPECT_EQ(doc.GetRoot().Value().size(), MarkupDocument::kMaxFileBytes - 7);
  EXPECT_FALSE(doc.LoadFromFile(Write("over.xml", big + " ")));
  EXPECT_EQ(doc.LastErrorMessage(), u"File too large");
  EXPECT_EQ(doc.LastErrorLocation(), u"");
  EXPECT_FALSE(doc.GetRoot().IsValid());
  EXPECT_FALSE(doc.LoadFromFile(Write("empty.xml", "")));
  EXPECT_EQ(doc.LastErrorMessage(), u"File is empty");
  EXPECT_FALSE(doc.LoadFromFile(Utf8ToUtf16((dir_ / "missing.xml").string())));
  EXPECT_EQ(doc.LastErrorMessage(), u"Error opening file");
  EXPECT_FALSE(doc.LoadFromFile(Utf8ToUtf16(dir_.string())));
  EXPECT_EQ(doc.LastErrorMessage(), u"Error opening file");
}

TEST_F(MarkupFileTest, RelativeNamesUseTheResourceFolder) {
  Write("skin.xml", "<Global/>");
  std::filesystem::create_directories(dir_ / "basic");
  Write("basic/basic.xml", "<Window/>");
  GlobalResources& resources = GlobalResources::Instance();
  std::u16string saved = resources.ResourceFolder();
  resources.SetResourceFolder(Utf8ToUtf16(dir_.string()));
  MarkupDocument doc;
  EXPECT_TRUE(doc.LoadFromFile(u"skin.xml"));
  EXPECT_EQ(doc.GetRoot().Name(), u"Global");
  // Backslashes written in skins and callers are the platform's separator.
  EXPECT_TRUE(doc.LoadFromFile(u"basic\\basic.xml"));
  EXPECT_EQ(doc.GetRoot().Name(), u"Window");
  resources.SetResourceFolder(saved);
}

}  // namespace
}  // namespace ui
