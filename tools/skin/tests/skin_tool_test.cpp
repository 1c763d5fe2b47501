#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "ui/resources/tests/test_zip.h"

namespace {

struct ToolRun {
  int code;
  std::string out;
  std::string err;
};

class SkinToolTest : public ::testing::Test {
 protected:
  SkinToolTest()
      : dir_(std::filesystem::temp_directory_path() / ("skin_tool_" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(dir_);
  }
  ~SkinToolTest() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return (dir_ / name).string();
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Runs the real tool through the shell; arguments are single-quoted.
  ToolRun Tool(const std::vector<std::string>& args) {
    std::string command = std::string("'") + LUMORA_SKIN_TOOL + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " >'" + (dir_ / "out").string() + "' 2>'" + (dir_ / "err").string() + "'; echo $? >'" +
               (dir_ / "rc").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return {std::stoi(Read(dir_ / "rc")), Read(dir_ / "out"), Read(dir_ / "err")};
  }

  std::filesystem::path dir_;
};

TEST_F(SkinToolTest, CheckFiles) {
  ToolRun ok = Tool({"check", Write("good.xml", "\xEF\xBB\xBF<Window size=\"600,400\"><Label/></Window>")});
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "ok\n");

  ToolRun bad = Tool({"check", Write("bad.xml", "<A>\n text <B/> more\n</A>")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "Expected start tag at \"more\\n</A>\"\n");

  ToolRun missing = Tool({"check", (dir_ / "missing.xml").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.out, "Error opening file\n");

  ToolRun empty = Tool({"check", Write("empty.xml", "")});
  EXPECT_EQ(empty.code, 1);
  EXPECT_EQ(empty.out, "File is empty\n");
}

TEST_F(SkinToolTest, TreePrintsElementsAndAttributesInOrder) {
  ToolRun tree = Tool({"tree", Write("tree.xml",
                                 "<Window size=\"600,400\" caption=\"0,0,0,36\">\n"
                                 "  <!-- c -->\n  <VBox>\n    <Label text=\"a &amp; &quot;b&quot;\" name=\"t\"/>\n"
                                 "    <Button/>\n  </VBox>\n  <Control/>\n</Window>")});
  EXPECT_EQ(tree.code, 0);
  EXPECT_EQ(tree.out,
            "Window size=\"600,400\" caption=\"0,0,0,36\"\n"
            "  VBox\n"
            "    Label text=\"a &amp; &quot;b&quot;\" name=\"t\"\n"
            "    Button\n"
            "  Control\n");
  ToolRun bad = Tool({"tree", Write("bad.xml", "<HBox></Box>")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "Unmatched closing tag at \"Box>\"\n");
}

TEST_F(SkinToolTest, PackageEntries) {
  std::string zip = (dir_ / "skin.zip").string();
  ui::testing::WriteZip(zip, {{"resources/themes/default/basic/basic.xml", "<Window><Box/></Window>"},
                              {"resources/themes/default/bom.xml", "\xEF\xBB\xBF<Window/>"}});
  ToolRun ok = Tool({"check", zip + ":resources\\themes\\default\\public\\..\\BASIC\\basic.xml"});
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "ok\n");
  ToolRun tree = Tool({"tree", zip + ":resources/themes/default/basic/basic.xml"});
  EXPECT_EQ(tree.out, "Window\n  Box\n");
  // Packaged files are read as the skin builder reads them: a byte-order mark stays.
  ToolRun bom = Tool({"check", zip + ":resources/themes/default/bom.xml"});
  EXPECT_EQ(bom.code, 1);
  EXPECT_EQ(bom.out.rfind("Expected start tag at ", 0), 0u);
  ToolRun missing = Tool({"check", zip + ":resources/none.xml"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.out, "Error opening file\n");
}

TEST_F(SkinToolTest, BadUsage) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"frobnicate"}, {"check"}, {"tree", "a", "b"}}) {
    ToolRun run = Tool(args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: lumora-skin"), std::string::npos);
  }
  ToolRun help = Tool({"help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("check FILE|PACKAGE.zip:PATH"), std::string::npos);
  EXPECT_NE(help.out.find("tree FILE|PACKAGE.zip:PATH"), std::string::npos);
}

}  // namespace
