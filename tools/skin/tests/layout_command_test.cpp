#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "ui/builder/tests/skin_fixture.h"
#include "ui/render/image_decoder.h"
#include "ui/resources/tests/test_zip.h"

namespace {

// A small theme: a style sheet, a skin in its own folder and a picture in "public".
class LayoutCommandTest : public ::testing::Test {
 protected:
  LayoutCommandTest()
      : dir_(std::filesystem::temp_directory_path() / ("skin_layout_" + std::to_string(std::random_device{}()))) {
    Write("theme/global.xml",
          "<Global><Font name=\"system\" size=\"12\"/><TextColor name=\"red\" value=\"#ffff0000\"/>"
          "<TextColor name=\"blue\" value=\"#ff0000ff\"/>"
          "<Class name=\"tile\" value=\"width=&quot;20&quot; bkcolor=&quot;blue&quot;\"/></Global>");
    Write("theme/basic/main.xml",
          "<Window size=\"100,40\"><HBox name=\"row\" bkcolor=\"red\" padding=\"5,5,5,5\">"
          "<Control name=\"t\" class=\"tile\"/><Control name=\"pic\" width=\"auto\" height=\"auto\" "
          "bkimage=\"../public/pic.bmp\"/></HBox></Window>");
    Write("theme/public/pic.bmp", ui::testing::SolidBmp(10, 10, 0x00ff00));
  }
  ~LayoutCommandTest() override { std::filesystem::remove_all(dir_); }

  void Write(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories((dir_ / name).parent_path());
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  // Runs the tool; returns its exit code and fills `out` with its standard output.
  int Tool(const std::string& args, std::string* out) {
    const std::string command = std::string("'") + LUMORA_SKIN_TOOL + "' " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    out->clear();
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out->append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

TEST_F(LayoutCommandTest, PrintsEveryControlWithItsRectangle) {
  std::string out;
  ASSERT_EQ(Tool("layout '" + Path("theme/basic/main.xml") + "' --size 100,40", &out), 0);
  EXPECT_EQ(out,
            "0 HBox row 0,0,100,40\n"
            "1 Control t 5,5,25,35\n"
            "1 Control pic 25,5,35,15\n");
  ASSERT_EQ(Tool("layout '" + Path("theme/basic/main.xml") + "' --size 150,60 --scale 150", &out), 0);
  EXPECT_EQ(out,
            "0 HBox row 0,0,150,60\n"
            "1 Control t 8,8,38,52\n"
            "1 Control pic 38,8,53,23\n");
}

TEST_F(LayoutCommandTest, ReadsSkinsFromAPackage) {
  ui::testing::WriteZip(dir_ / "skin.zip",
                        {{"res/theme/global.xml", "<Global><Class name=\"tile\" value=\"width=&quot;30&quot;\"/></Global>"},
                         {"res/theme/basic/main.xml",
                          "<Window><HBox><Control name=\"t\" class=\"tile\"/><Control name=\"rest\"/></HBox></Window>"}});
  std::string out;
  ASSERT_EQ(Tool("layout '" + Path("skin.zip") + ":res/theme/basic/main.xml' --size 100,10", &out), 0);
  EXPECT_EQ(out,
            "0 HBox - 0,0,100,10\n"
            "1 Control t 0,0,30,10\n"
            "1 Control rest 30,0,100,10\n");
}

TEST_F(LayoutCommandTest, RendersThePaintedTreeToAPng) {
  std::string out;
  const std::string png = Path("out.png");
  ASSERT_EQ(Tool("render '" + Path("theme/basic/main.xml") + "' --size 100,40 --out '" + png + "'", &out), 0);
  std::unique_ptr<ui::ImageInfo> picture = ui::DecodeImageFile(png);
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->width, 100);
  ASSERT_EQ(picture->height, 40);
  auto pixel = [&](int x, int y) {
    const ui::ImageFrame* frame = picture->Frame(0);
    const uint8_t* p = frame->data() + y * frame->stride() + x * 4;
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  };
  EXPECT_EQ(pixel(1, 1), 0xffff0000u);    // the row's background
  EXPECT_EQ(pixel(10, 20), 0xff0000ffu);  // the class's colour
  EXPECT_EQ(pixel(30, 10), 0xff00ff00u);  // the picture at its own size
  EXPECT_EQ(pixel(30, 20), 0xffff0000u);
}

TEST_F(LayoutCommandTest, BadArgumentsAndSkins) {
  std::string out;
  EXPECT_EQ(Tool("layout '" + Path("theme/basic/main.xml") + "'", &out), 2);
  EXPECT_EQ(Tool("layout '" + Path("theme/basic/main.xml") + "' --size 10,10 --scale 130", &out), 2);
  EXPECT_EQ(Tool("render '" + Path("theme/basic/main.xml") + "' --size 10,10", &out), 2);
  Write("theme/basic/bad.xml", "<Window><HBox></Box></Window>");
  EXPECT_EQ(Tool("layout '" + Path("theme/basic/bad.xml") + "' --size 10,10", &out), 1);
  EXPECT_EQ(out, "Unmatched closing tag\n");
}

}  // namespace
