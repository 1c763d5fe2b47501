#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <fstream>
#include <string>

#include "ui/markup/utf.h"
#include "ui/render/font.h"
#include "ui/render/image_info.h"
#include "ui/resources/dpi_scaler.h"
#include "ui/resources/global_resources.h"
#include "ui/resources/language_file.h"
#include "ui/resources/skin_package.h"
#include "ui/resources/tests/test_zip.h"
#include "ui/resources/weak_cache.h"

namespace ui {
namespace {

class TempDir {
 public:
  TempDir() : path_(std::filesystem::temp_directory_path() / ("resources_test_" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};

// A 2 x 1 PNG, RGBA.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F,
    0x8A, 0x00, 0x00, 0x00, 0x0E, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0x00,
    0x42, 0x0D, 0x00, 0x0F, 0x7A, 0x03, 0x7E, 0x77, 0xE9, 0x7F, 0x97, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
const std::string kPngBytes(reinterpret_cast<const char*>(kPng), sizeof kPng);

TEST(DpiScalerTest, ScaleAt100_125_150) {
  struct Case {
    int dpi;
    bool aware;
    int scale;
    int value_80;
    UiRect rect;
  };
  const Case cases[] = {
      {96, true, 100, 80, {1, 1, 2, 2}},
      {120, true, 125, 100, {1, 1, 2, 2}},  // 1.25 rounds to 1
      {144, true, 150, 120, {2, 2, 4, 4}},  // not (2,2,3,3): the size is scaled, not the edges
      {192, true, 200, 160, {2, 2, 4, 4}},
      {144, false, 150, 80, {1, 1, 2, 2}},  // awareness not granted: nothing scales
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    DpiScaler dpi;
    dpi.SetAware(c.aware);
    dpi.SetScaleFromDensity(c.dpi);
    EXPECT_EQ(dpi.Scale(), c.scale);
    EXPECT_EQ(dpi.ScaleValue(80), c.value_80);
    EXPECT_EQ(dpi.ScaleRect({1, 1, 2, 2}), c.rect);
  }
  DpiScaler dpi;
  dpi.SetAware(true);
  dpi.SetScale(150);
  EXPECT_EQ(dpi.ScaleValue(32), 48);
  EXPECT_EQ(dpi.ScaleValue(3), 5);    // 4.5 rounds up
  EXPECT_EQ(dpi.ScaleValue(-3), -5);  // and away from zero below it
  EXPECT_EQ(dpi.ScaleRect({10, 20, 13, 21}), (UiRect{15, 30, 20, 32}));
}

TEST(LanguageFileTest, Lines) {
  StringTable table;
  const char* lines[] = {
      "STRING_OK = 确定",
      ";STRING_X = y",          // comment: ";" in the id
      "A=b=c",                  // three pieces
      "KEY = a = b",
      "  \tSPACED\t =  value with blanks \r\n",
      "EMPTY =",                // one piece
      "==DOUBLE==x",            // empty pieces dropped: two remain
      "NO_EQUALS",
      "REPLACED = first",
      "REPLACED = second",
      "LINES = one\\ntwo\\r",
  };
  for (const char* line : lines) ParseLanguageLine(line, table);
  EXPECT_EQ(table.size(), 5u);
  EXPECT_EQ(table[u"STRING_OK"], u"确定");
  EXPECT_EQ(table[u"SPACED"], u"value with blanks");
  EXPECT_EQ(table[u"DOUBLE"], u"x");
  EXPECT_EQ(table[u"REPLACED"], u"second");
  EXPECT_EQ(table[u"LINES"], u"one\\ntwo\\r");
}

TEST(LanguageFileTest, DiskPiecesAndMemoryBlock) {
  TempDir dir;
  // A BOM stays part of the first line; a line over 4,095 bytes is read in
  // pieces, the second of which is a line of its own.
  dir.Write("gdstrings.ini", std::string("\xEF\xBB\xBF; comment\r\nFIRST = 1\r\n") +
                                 std::string(4095, 'x') + "TAIL = t\n" + std::string("ZERO = a\0b\n", 11) +
                                 "LAST = end");
  StringTable disk;
  ASSERT_TRUE(LoadLanguageFile((dir.path() / "gdstrings.ini").string(), disk));
  EXPECT_EQ(disk[u"FIRST"], u"1");
  EXPECT_EQ(disk[u"TAIL"], u"t");  // the 4,095 x's were a piece of their own
  EXPECT_EQ(disk[u"ZERO"], u"a");  // a zero byte ends the line's text
  EXPECT_EQ(disk[u"LAST"], u"end");
  EXPECT_FALSE(LoadLanguageFile((dir.path() / "missing.ini").string(), disk));

  // From memory: no length limit, zero bytes skipped.
  StringTable block;
  LoadLanguageBlock(std::string(5000, 'y') + "=long\n" + std::string("ZERO = a\0b\n", 11) + "LAST = end", block);
  EXPECT_EQ(block[std::u16string(5000, u'y')], u"long");
  EXPECT_EQ(block[u"ZERO"], u"ab");
  EXPECT_EQ(block[u"LAST"], u"end");
}

TEST(SkinPackageTest, PathNormalisation) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"resources\\themes\\default\\basic\\..\\public\\button\\btn_wnd_white_close.png",
       u"resources/themes/default/public/button/btn_wnd_white_close.png"},
      {u"a//b///c", u"a/b/c"},
      {u"./a/./b", u"a/b"},
      {u"../a", u"a"},
      {u"../../a/b/../c", u"a/c"},
      {u"/a", u"a"},
      {u"a\\\\b", u"a/b"},
      {u"a/b/", u"a/b/"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(SkinPackage::NormalizePath(in), out) << Utf16ToUtf8(in);
}

TEST(SkinPackageTest, LookupsInAnArchiveInMemory) {
  TempDir dir;
  const std::string big(100000, 'z');
  std::string zip = testing::WriteZip(dir.path() / "skin.zip",
                                      {{"resources/themes/default/public/button/btn_wnd_white_close.png", "PNG"},
                                       {"public/checkbox/check.png", "check"},
                                       {"big.bin", big},
                                       {"empty.txt", ""}});
  SkinPackage package;
  EXPECT_FALSE(package.ReadFile(u"big.bin").has_value());  // not open
  ASSERT_TRUE(package.Open(zip.data(), zip.size()));
  EXPECT_EQ(package.ReadFile(u"resources\\themes\\default\\basic\\..\\public\\button\\btn_wnd_white_close.png"),
            "PNG");
  EXPECT_EQ(package.ReadFile(u"public/CheckBox/check.png"), "check");  // ASCII case-blind
  EXPECT_EQ(package.ReadFile(u".//public\\checkbox//CHECK.PNG"), "check");
  EXPECT_EQ(package.ReadFile(u"big.bin"), big);
  EXPECT_EQ(package.ReadFile(u"empty.txt"), "");
  EXPECT_FALSE(package.ReadFile(u"").has_value());
  EXPECT_FALSE(package.ReadFile(u"missing.png").has_value());
  EXPECT_FALSE(package.ReadFile(u"public/checkbox").has_value());
  // Names of 256 bytes or more are never found.
  std::u16string long_name(300, u'a');
  EXPECT_FALSE(package.ReadFile(long_name).has_value());

  // A damaged archive opens nothing; a damaged entry reads nothing.
  EXPECT_FALSE(package.OpenCopy("not a zip at all"));
  std::string damaged = zip;
  size_t at = damaged.find(big.substr(0, 8));
  if (at == std::string::npos) {
    // Deflated: break the compressed stream of big.bin instead.
    at = damaged.find("big.bin") + 7 + 20;
  }
  damaged[at] ^= 0x5A;
  damaged[at + 1] ^= 0x5A;
  ASSERT_TRUE(package.OpenCopy(damaged));
  EXPECT_FALSE(package.ReadFile(u"big.bin").has_value());
  EXPECT_EQ(package.ReadFile(u"public/checkbox/check.png"), "check");
}

TEST(WeakCacheTest, SharesThenForgets) {
  WeakCache<std::string, int> cache;
  std::shared_ptr<int> first = cache.Insert("a", std::make_unique<int>(1));
  std::shared_ptr<int> second = cache.Find("a");
  EXPECT_EQ(first, second);
  EXPECT_EQ(cache.Size(), 1u);
  first.reset();
  EXPECT_EQ(cache.Size(), 1u);
  second.reset();
  EXPECT_EQ(cache.Size(), 0u);  // the last user gone: the entry went with it
  EXPECT_EQ(cache.Find("a"), nullptr);
  // Objects may outlive their cache.
  std::shared_ptr<int> survivor;
  {
    WeakCache<std::string, int> short_lived;
    survivor = short_lived.Insert("b", std::make_unique<int>(2));
  }
  EXPECT_EQ(*survivor, 2);
}

class GlobalResourcesTest : public ::testing::Test {
 protected:
  void TearDown() override { resources_.Reset(); }
  GlobalResources resources_;
  TempDir dir_;
};

TEST_F(GlobalResourcesTest, ResourceFolderSeparator) {
  resources_.SetResourceFolder(u"resources/themes/default");
  EXPECT_EQ(resources_.ResourceFolder(), u"resources/themes/default/");
  resources_.SetResourceFolder(u"x\\");
  EXPECT_EQ(resources_.ResourceFolder(), u"x\\");
  resources_.SetResourceFolder(u"y/");
  EXPECT_EQ(resources_.ResourceFolder(), u"y/");
  EXPECT_EQ(GlobalResources::NativePath(u"resources\\themes\\\\default//x.png"), u"resources/themes/default/x.png");
}

TEST_F(GlobalResourcesTest, ColoursClassesStrings) {
  resources_.RegisterColor(u"textdefaultcolor", 0xFF333333);
  EXPECT_EQ(resources_.LookupColor(u"textdefaultcolor"), 0xFF333333u);
  EXPECT_EQ(resources_.LookupColor(u"undefined"), 0u);
  resources_.RegisterClassStyle(u"caption", u"height=\"34\"");
  resources_.RegisterClassStyle(u"caption", u"height=\"36\"");
  EXPECT_EQ(resources_.LookupClassStyle(u"caption"), u"height=\"36\"");
  EXPECT_EQ(resources_.LookupClassStyle(u"none"), u"");
  EXPECT_EQ(resources_.DefaultTextColorName(), u"textdefaultcolor");
  EXPECT_EQ(resources_.DefaultDisabledTextColorName(), u"textdefaultdisablecolor");
  resources_.Strings()[u"LINES"] = u"one\\ntwo\\r\\x";
  EXPECT_EQ(resources_.LookupString(u"LINES"), u"one\ntwo\r\\x");
  EXPECT_EQ(resources_.LookupString(u"unknown"), u"");
}

TEST_F(GlobalResourcesTest, InitializeReadsDensityStylesAndLanguage) {
  dir_.Write("lang/zh_CN/gdstrings.ini", "STRING_OK = 确定\n");
  std::u16string root = Utf8ToUtf16(dir_.path().string());
  std::u16string styles;
  resources_.SetDensitySource([] { return 120; });
  resources_.SetStyleLoader([&](std::u16string_view name) {
    styles = resources_.ResourceFolder() + std::u16string(name);
  });
  resources_.Initialize(root, nullptr, u"themes/default", u"lang/zh_CN");
  EXPECT_EQ(resources_.ResourceFolder(), root + u"/themes/default/");
  EXPECT_TRUE(resources_.Dpi().Aware());
  EXPECT_EQ(resources_.Dpi().Scale(), 125);
  EXPECT_EQ(resources_.ScaleValue(80), 100);
  EXPECT_EQ(styles, root + u"/themes/default/global.xml");
  EXPECT_EQ(resources_.LookupString(u"STRING_OK"), u"确定");
  EXPECT_NE(resources_.RenderFactory(), nullptr);
}

TEST_F(GlobalResourcesTest, LanguageFromThePackage) {
  std::string zip = testing::WriteZip(dir_.path() / "skin.zip",
                                      {{"resources/lang/en_US/gdstrings.ini", "STRING_OK = OK\n"}});
  ASSERT_TRUE(resources_.OpenPackage(zip.data(), zip.size()));
  resources_.Initialize(u"resources\\", nullptr, u"themes\\default", u"lang\\en_US");
  EXPECT_EQ(resources_.LookupString(u"STRING_OK"), u"OK");
}

TEST_F(GlobalResourcesTest, FontsScaleAndSystemFace) {
  resources_.Dpi().SetAware(true);
  resources_.Dpi().SetScale(150);
  EXPECT_FALSE(resources_.RegisterFont(u"", 12, false, false, false));  // not made, not numbered
  ASSERT_TRUE(resources_.RegisterFont(u"system", 32, true, false, false));
  const FontEntry* entry = resources_.FontInfo(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->face, u"微软雅黑");
  EXPECT_EQ(entry->size, 48);
  EXPECT_TRUE(entry->bold);
  ASSERT_NE(resources_.FontHandle(0), nullptr);
  EXPECT_EQ(resources_.FontHandle(0)->pixel_size(), 48);
  EXPECT_EQ(resources_.FontHandle(1), nullptr);
  EXPECT_EQ(resources_.FontHandle(-1), nullptr);
}

// Two users of one picture share it; once both are gone the next request
// decodes it again. Works from the package and from disk.
TEST_F(GlobalResourcesTest, ImageCacheSharesThenForgets) {
  dir_.Write("disk/pic.png", kPngBytes);
  std::u16string disk_path = Utf8ToUtf16((dir_.path() / "disk" / "pic.png").string());
  std::shared_ptr<ImageInfo> a = resources_.LoadImageShared(disk_path);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->width, 2);
  EXPECT_TRUE(a->cached);
  std::shared_ptr<ImageInfo> b = resources_.LoadImageShared(Utf8ToUtf16(dir_.path().string()) + u"//disk\\pic.png");
  EXPECT_EQ(a, b);
  EXPECT_EQ(resources_.CachedImageCount(), 1u);
  a.reset();
  b.reset();
  EXPECT_EQ(resources_.CachedImageCount(), 0u);
  std::shared_ptr<ImageInfo> again = resources_.LoadImageShared(disk_path);
  ASSERT_NE(again, nullptr);
  again.reset();

  std::string zip = testing::WriteZip(dir_.path() / "skin.zip", {{"resources/themes/default/public/pic.png", kPngBytes}});
  ASSERT_TRUE(resources_.OpenPackage(zip.data(), zip.size()));
  std::shared_ptr<ImageInfo> packaged = resources_.LoadImageShared(u"resources/themes/default/basic/../public/PIC.png");
  ASSERT_NE(packaged, nullptr);
  EXPECT_EQ(packaged, resources_.LoadImageShared(u"resources\\themes\\default\\public\\PIC.png"));
  EXPECT_EQ(resources_.LoadImageShared(u"resources/none.png"), nullptr);
  // A package without the entry falls back to the disk.
  EXPECT_NE(resources_.LoadImageShared(disk_path), nullptr);
}

}  // namespace
}  // namespace ui
