// The skin package as the installer carries it: the archive linked into this test executable as
// resource THEME 136 is opened from the embedded bytes with the UI framework's package reader
// and checked entry by entry; its layout files go through the markup reader and its language
// files through the language reader. The archive's own structure (folder entries, compression)
// is listed with minizip.

#include <minizip/unzip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/embedded_resources.h"
#include "ui/markup/markup_document.h"
#include "ui/markup/utf.h"
#include "ui/resources/language_file.h"
#include "ui/resources/skin_package.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kVariants[] = {"default", "default-hdpi", "default-xhdpi"};
constexpr const char* kXmlFiles[] = {"global.xml", "basic/basic.xml", "msgbox/msgbox.xml",
                                     "shadow/shadow.xml"};
constexpr const char* kLanguageFiles[] = {"resources/lang/en_US/gdstrings.ini",
                                          "resources/lang/zh_CN/gdstrings.ini"};

struct PictureSize {
  const char* path;  // relative to the theme folder
  int size[3][2];    // width, height in default / -hdpi / -xhdpi
};

constexpr PictureSize kPictures[] = {
    {"basic/bkg_top.png", {{600, 256}, {750, 320}, {900, 384}}},
    {"basic/logo.png", {{80, 80}, {100, 100}, {120, 120}}},
    {"basic/icon_down.png", {{16, 16}, {20, 20}, {24, 24}}},
    {"basic/icon_up.png", {{16, 16}, {20, 20}, {24, 24}}},
    {"msgbox/error.png", {{22, 22}, {22, 22}, {22, 22}}},
    {"msgbox/infor.png", {{22, 22}, {22, 22}, {22, 22}}},
    {"msgbox/ok.png", {{22, 22}, {22, 22}, {22, 22}}},
    {"msgbox/question.png", {{22, 22}, {22, 22}, {22, 22}}},
    {"msgbox/warning.png", {{22, 22}, {22, 22}, {22, 22}}},
    {"public/bk/bg_image_mask.png", {{500, 130}, {500, 130}, {500, 130}}},
    {"public/bk/bk_shadow.png", {{68, 68}, {68, 68}, {68, 68}}},
    {"public/button/btn_global_blue_80x30_normal.png", {{80, 30}, {80, 30}, {80, 30}}},
    {"public/button/btn_global_blue_80x30_hovered.png", {{80, 30}, {80, 30}, {80, 30}}},
    {"public/button/btn_global_blue_80x30_pushed.png", {{80, 30}, {80, 30}, {80, 30}}},
    {"public/button/btn_global_white_80x30_normal.png", {{80, 30}, {80, 30}, {80, 30}}},
    {"public/button/btn_global_white_80x30_hovered.png", {{80, 30}, {80, 30}, {80, 30}}},
    {"public/button/btn_global_white_80x30_pushed.png", {{80, 30}, {80, 30}, {80, 30}}},
    {"public/button/btn_wnd_gray_close.png", {{12, 12}, {15, 15}, {18, 18}}},
    {"public/button/btn_wnd_gray_close_hover.png", {{12, 12}, {15, 15}, {18, 18}}},
    {"public/button/btn_wnd_white_close.png", {{24, 24}, {30, 30}, {36, 36}}},
    {"public/button/btn_wnd_white_close_hovered.png", {{24, 24}, {30, 30}, {36, 36}}},
    {"public/button/btn_wnd_white_close_pushed.png", {{24, 24}, {30, 30}, {36, 36}}},
    {"public/button/btn_wnd_white_min.png", {{20, 20}, {20, 20}, {20, 20}}},
    {"public/button/btn_wnd_white_min_hovered.png", {{20, 20}, {20, 20}, {20, 20}}},
    {"public/button/btn_wnd_white_min_pushed.png", {{20, 20}, {20, 20}, {20, 20}}},
    {"public/caption/caption_public.png", {{20, 34}, {20, 34}, {20, 34}}},
    {"public/checkbox/check.png", {{16, 16}, {20, 20}, {24, 24}}},
    {"public/checkbox/check_no.png", {{16, 16}, {20, 20}, {24, 24}}},
    {"public/progress/progress_blue_bg.png", {{420, 3}, {420, 3}, {420, 3}}},
    {"public/progress/progress_blue_fg.png", {{420, 3}, {420, 3}, {420, 3}}},
};

std::string ThemePath(const char* variant, const std::string& rel) {
  return std::string("resources/themes/") + variant + "/" + rel;
}

struct ArchiveEntry {
  int method = -1;
  std::string bytes;
};

// The archive read back from the embedded resource: written to a temporary file and listed
// with minizip's reader, every entry inflated (a CRC error fails the read).
class SkinArchive {
 public:
  static std::optional<SkinArchive> FromEmbeddedResource(std::string* error) {
    const auto bytes = platform::FindEmbeddedResource(platform::kThemeResourceType,
                                                      platform::kThemeResourceId);
    if (!bytes) {
      *error = "no THEME 136 resource in the executable";
      return std::nullopt;
    }
    const fs::path file = fs::temp_directory_path() /
                          ("lumora_skin_package_" + std::to_string(std::random_device{}()) + ".zip");
    {
      std::ofstream out(file, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes->data()),
                static_cast<std::streamsize>(bytes->size()));
    }
    SkinArchive archive;
    const bool ok = archive.Read(file, error);
    std::error_code ec;
    fs::remove(file, ec);
    if (!ok) return std::nullopt;
    return archive;
  }

  const std::map<std::string, ArchiveEntry>& entries() const { return entries_; }
  const ArchiveEntry* Find(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
  }
 private:
  bool Read(const fs::path& file, std::string* error) {
    unzFile zip = unzOpen(file.c_str());
    if (!zip) {
      *error = "the embedded bytes are not a ZIP archive";
      return false;
    }
    bool ok = true;
    for (int r = unzGoToFirstFile(zip); r == UNZ_OK; r = unzGoToNextFile(zip)) {
      char name[512];
      unz_file_info info;
      if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
          unzOpenCurrentFile(zip) != UNZ_OK) {
        *error = "cannot open an entry";
        ok = false;
        break;
      }
      ArchiveEntry entry;
      entry.method = static_cast<int>(info.compression_method);
      entry.bytes.resize(info.uncompressed_size);
      const int got = entry.bytes.empty() ? 0
                                          : unzReadCurrentFile(zip, entry.bytes.data(),
                                                               static_cast<unsigned>(entry.bytes.size()));
      if (unzCloseCurrentFile(zip) != UNZ_OK || got != static_cast<int>(entry.bytes.size())) {
        *error = std::string("cannot inflate ") + name;
        ok = false;
        break;
      }
      entries_[name] = std::move(entry);
    }
    unzClose(zip);
    return ok;
  }

  std::map<std::string, ArchiveEntry> entries_;
};

class SkinPackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    error_ = new std::string;
    archive_ = new std::optional<SkinArchive>(SkinArchive::FromEmbeddedResource(error_));
    package_ = new ui::SkinPackage;
    const auto bytes = platform::FindEmbeddedResource(platform::kThemeResourceType,
                                                      platform::kThemeResourceId);
    if (bytes) package_->Open(bytes->data(), bytes->size());
  }
  static void TearDownTestSuite() {
    delete package_;
    delete archive_;
    delete error_;
  }
  void SetUp() override {
    ASSERT_TRUE(archive_->has_value()) << *error_;
    ASSERT_TRUE(package_->IsOpen());
  }
  const SkinArchive& archive() const { return **archive_; }
  const ui::SkinPackage& package() const { return *package_; }

  // An entry read the way the framework reads skin files.
  std::string Bytes(const std::string& name) const {
    auto bytes = package().ReadFile(ui::Utf8ToUtf16(name));
    EXPECT_TRUE(bytes.has_value()) << name;
    return bytes.value_or(std::string());
  }

  static std::optional<SkinArchive>* archive_;
  static ui::SkinPackage* package_;
  static std::string* error_;
};

std::optional<SkinArchive>* SkinPackageTest::archive_ = nullptr;
ui::SkinPackage* SkinPackageTest::package_ = nullptr;
std::string* SkinPackageTest::error_ = nullptr;

// Every file listed for the package, in every variant.
std::vector<std::string> ListedFiles() {
  std::vector<std::string> files(std::begin(kLanguageFiles), std::end(kLanguageFiles));
  for (const char* v : kVariants) {
    for (const char* x : kXmlFiles) files.push_back(ThemePath(v, x));
    for (const PictureSize& p : kPictures) files.push_back(ThemePath(v, p.path));
  }
  return files;
}

TEST_F(SkinPackageTest, HoldsEveryListedFileDeflatedUnderResources) {
  const std::vector<std::string> files = ListedFiles();
  ASSERT_EQ(files.size(), 2u + 3u * (4u + 30u));
  std::set<std::string> folders;
  for (const std::string& f : files) {
    SCOPED_TRACE(f);
    const ArchiveEntry* e = archive().Find(f);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->method, Z_DEFLATED);
    EXPECT_FALSE(e->bytes.empty());
    for (size_t slash = f.find('/'); slash != std::string::npos; slash = f.find('/', slash + 1))
      folders.insert(f.substr(0, slash + 1));
  }
  // Every folder has an entry of its own, and nothing else is in the archive.
  for (const std::string& d : folders) {
    SCOPED_TRACE(d);
    const ArchiveEntry* e = archive().Find(d);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->bytes.empty());
  }
  EXPECT_EQ(archive().entries().size(), files.size() + folders.size());
  for (const auto& [name, e] : archive().entries()) EXPECT_EQ(name.rfind("resources/", 0), 0u) << name;
}

TEST_F(SkinPackageTest, XmlFilesAreIdenticalInTheThreeVariants) {
  for (const char* x : kXmlFiles) {
    SCOPED_TRACE(x);
    const std::string base = Bytes(ThemePath("default", x));
    EXPECT_EQ(Bytes(ThemePath("default-hdpi", x)), base);
    EXPECT_EQ(Bytes(ThemePath("default-xhdpi", x)), base);
  }
}

TEST_F(SkinPackageTest, PicturesHaveTheirSizeInEachVariant) {
  for (int v = 0; v < 3; ++v) {
    for (const PictureSize& p : kPictures) {
      const std::string name = ThemePath(kVariants[v], p.path);
      SCOPED_TRACE(name);
      const std::string png = Bytes(name);
      ASSERT_GE(png.size(), 24u);
      ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
      ASSERT_EQ(png.substr(12, 4), "IHDR");
      auto be32 = [&](size_t at) {
        const auto* b = reinterpret_cast<const unsigned char*>(png.data() + at);
        return static_cast<int>((uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) |
                                (uint32_t{b[2]} << 8) | b[3]);
      };
      EXPECT_EQ(be32(16), p.size[v][0]);
      EXPECT_EQ(be32(20), p.size[v][1]);
    }
  }
}

bool AllLineEndsAreCrlf(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return text.find('\n') != std::string::npos;
}

TEST_F(SkinPackageTest, TextFilesAreUtf8WithCrlfAndTheListedMarks) {
  const std::string bom = "\xEF\xBB\xBF";
  for (const char* x : kXmlFiles) {
    const std::string text = Bytes(ThemePath("default", x));
    SCOPED_TRACE(x);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u);
    EXPECT_TRUE(AllLineEndsAreCrlf(text));
  }
  const std::map<std::string, std::pair<std::string, std::string>> ok_cancel = {
      {kLanguageFiles[0], {"OK", "Cancel"}}, {kLanguageFiles[1], {"确定", "取消"}}};
  for (const auto& [file, texts] : ok_cancel) {
    SCOPED_TRACE(file);
    const std::string text = Bytes(file);
    EXPECT_EQ(text.rfind(bom, 0), 0u);
    EXPECT_TRUE(AllLineEndsAreCrlf(text));
    ui::StringTable table;
    ui::LoadLanguageBlock(text, table);
    EXPECT_EQ(table[u"STRING_OK"], ui::Utf8ToUtf16(texts.first));
    EXPECT_EQ(table[u"STRING_CANCEL"], ui::Utf8ToUtf16(texts.second));
    EXPECT_TRUE(std::any_of(table.begin(), table.end(), [](const auto& kv) {
      return kv.first.rfind(u"STRID_CEF_BROWSER_", 0) == 0;
    }));
    // The byte-order mark stays on the first line, which is a comment.
    EXPECT_EQ(std::count_if(table.begin(), table.end(),
                            [](const auto& kv) { return kv.first.find(u'\uFEFF') != std::u16string::npos; }),
              0);
  }
}

// The sources in the tree are what the build packed: a stale archive would hide an edit.
TEST_F(SkinPackageTest, ArchiveMatchesTheSourceTree) {
  for (const std::string& f : ListedFiles()) {
    SCOPED_TRACE(f);
    std::ifstream in(fs::path(LUMORA_RESOURCES_DIR) / f.substr(std::string("resources/").size()),
                     std::ios::binary);
    ASSERT_TRUE(in);
    const std::string disk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(disk == Bytes(f));
  }
}

// ---------------------------------------------------------------------------------------------
// The layouts and the style sheet, read with the skin's markup reader.

// A parsed skin file. The builder converts packaged markup from UTF-8 as it stands (no
// byte-order mark is removed), so that is what is parsed here.
struct Markup {
  ui::MarkupDocument document;
  std::string error;
  bool Load(const std::string& utf8) {
    if (document.LoadFromText(ui::Utf8ToUtf16(utf8))) return true;
    error = ui::Utf16ToUtf8(document.LastErrorMessage()) + " at '" +
            ui::Utf16ToUtf8(document.LastErrorLocation()) + "'";
    return false;
  }
};

std::string Attr(const ui::MarkupNode& node, std::u16string_view name) {
  const auto value = node.FindAttribute(name);
  return value ? ui::Utf16ToUtf8(*value) : std::string();
}

// Every element below `node` (depth first, document order).
void Walk(const ui::MarkupNode& node, std::vector<ui::MarkupNode>* out) {
  for (ui::MarkupNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
    out->push_back(child);
    Walk(child, out);
  }
}

TEST_F(SkinPackageTest, EveryXmlFileParsesWithItsRoot) {
  const std::map<std::string, std::u16string> roots = {{"global.xml", u"Global"},
                                                      {"basic/basic.xml", u"Window"},
                                                      {"msgbox/msgbox.xml", u"Window"},
                                                      {"shadow/shadow.xml", u"Window"}};
  for (const auto& [file, root] : roots) {
    SCOPED_TRACE(file);
    Markup m;
    ASSERT_TRUE(m.Load(Bytes(ThemePath("default", file.c_str())))) << m.error;
    EXPECT_EQ(m.document.GetRoot().Name(), root);
  }
}

TEST_F(SkinPackageTest, GlobalStyleSheetRegistersFontsColoursAndClasses) {
  Markup m;
  ASSERT_TRUE(m.Load(Bytes(ThemePath("default", "global.xml")))) << m.error;
  std::vector<ui::MarkupNode> fonts, colours, classes;
  std::vector<std::string> order;  // element kinds in file order
  for (ui::MarkupNode n = m.document.GetRoot().FirstChild(); n.IsValid(); n = n.NextSibling()) {
    if (n.Name() == u"Font") fonts.push_back(n);
    if (n.Name() == u"TextColor") colours.push_back(n);
    if (n.Name() == u"Class") classes.push_back(n);
    order.push_back(ui::Utf16ToUtf8(n.Name()));
  }

  struct Font {
    const char* name;
    int size;
    bool bold, underline;
  };
  std::vector<Font> expected_fonts;
  for (const char* face : {"system", "arial"})
    for (bool bold : {false, true})
      for (int size : {10, 12, 14, 16, 18}) expected_fonts.push_back({face, size, bold, false});
  const Font tail[] = {{"system", 20, false, false}, {"system", 20, true, false},
                       {"system", 22, false, false}, {"system", 22, true, false},
                       {"system", 12, false, true},  {"system", 24, false, false},
                       {"system", 14, false, true},  {"system", 16, false, true},
                       {"system", 32, false, false}};
  expected_fonts.insert(expected_fonts.end(), std::begin(tail), std::end(tail));
  ASSERT_EQ(fonts.size(), 29u);
  for (size_t i = 0; i < fonts.size(); ++i) {
    SCOPED_TRACE("font " + std::to_string(i));
    EXPECT_EQ(Attr(fonts[i], u"name"), expected_fonts[i].name);
    EXPECT_EQ(Attr(fonts[i], u"size"), std::to_string(expected_fonts[i].size));
    EXPECT_EQ(Attr(fonts[i], u"bold") == "true", expected_fonts[i].bold);
    EXPECT_EQ(Attr(fonts[i], u"underline") == "true", expected_fonts[i].underline);
  }

  const std::vector<std::pair<std::string, std::string>> expected_colours = {
      {"white", "#ffffffff"}, {"black", "#ff000000"}, {"darkcolor", "#ff333333"},
      {"lightcolor", "#ff888888"}, {"gray", "#ff8e99a6"}, {"light_gray", "#ffa8a8a8"},
      {"dark_gray", "#ff72797f"}, {"green", "#ff00bb96"}, {"light_green", "#ff21c7a6"},
      {"blue", "#ff006DD9"}, {"red", "#ffC63535"}, {"textdefaultcolor", "#ff333333"},
      {"textdefaultdisablecolor", "#ffa1aebc"}, {"bk_main_wnd_title", "#ff238efa"},
      {"bk_main_wnd_search", "#ff1e7ad7"}, {"bk_wnd_darkcolor", "#fff0f2f5"},
      {"bk_wnd_lightcolor", "#ffffffff"}, {"bk_menuitem_hovered", "#ffe1e6eb"},
      {"bk_menuitem_selected", "#ffced4db"}, {"bk_listitem_hovered", "#fff0f2f5"},
      {"bk_listitem_selected", "#ffe4e7eb"}, {"bk_topitem_normal", "#ffffffe0"},
      {"bk_topitem_hovered", "#ffffffeb"}, {"bk_topitem_selected", "#fffafacd"},
      {"bk_progress_bk", "#ffe3ecf5"}, {"bk_progress_progress", "#ff2aceae"},
      {"transbkblack", "#80000000"}, {"splitline_level1", "#ffd2d4d6"},
      {"splitline_level2", "#ffebedf0"}, {"color_palette1", "#ffff2600"},
      {"color_palette2", "#ffffeb00"}, {"color_palette3", "#ff61ed00"},
      {"color_palette4", "#ff00b4ff"}, {"color_palette5", "#ffa100ff"},
      {"color_palette6", "#ff000000"}, {"color_palette7", "#ff545454"},
      {"color_palette8", "#ffa8a8a8"}, {"color_palette9", "#ffffffff"},
      {"bk_color_mainwnd", "#ffF4F8F9"}, {"text_color_666", "#ff666666"},
      {"text_color_333", "#ff333333"}};
  ASSERT_EQ(colours.size(), 41u);
  for (size_t i = 0; i < colours.size(); ++i) {
    EXPECT_EQ(Attr(colours[i], u"name"), expected_colours[i].first);
    EXPECT_EQ(Attr(colours[i], u"value"), expected_colours[i].second) << expected_colours[i].first;
  }

  const char* expected_classes[] = {
      "font_title", "caption", "vscrollbar", "hscrollbar", "btn_global_blue_80x30",
      "btn_global_white_80x30", "btn_wnd_close", "btn_wnd_white_min", "btn_wnd_white_close",
      "progress_blue", "slider_green", "splitline_hor_level1", "splitline_hor_level2",
      "splitline_ver_level1", "simple", "prompt", "checkbox_agree", "font_normal"};
  ASSERT_EQ(classes.size(), 18u);
  for (size_t i = 0; i < classes.size(); ++i) {
    EXPECT_EQ(Attr(classes[i], u"name"), expected_classes[i]);
    EXPECT_FALSE(Attr(classes[i], u"value").empty()) << expected_classes[i];
  }

  // Fonts, then colours, then classes; the last three colours close the file.
  std::vector<std::string> runs;
  for (const std::string& kind : order)
    if (runs.empty() || runs.back() != kind) runs.push_back(kind);
  EXPECT_EQ(runs, (std::vector<std::string>{"Font", "TextColor", "Class", "TextColor"}));
  EXPECT_EQ(Attr(colours[38], u"name"), "bk_color_mainwnd");
}

// The main window's code looks these controls up by name, with these kinds.
TEST_F(SkinPackageTest, LayoutsNameTheControlsTheWindowsLookUp) {
  const std::map<std::string, std::vector<std::pair<std::string, std::string>>> expected = {
      {"basic/basic.xml",
       {{"bkimage1", "Box"}, {"bkimage2", "Box"}, {"titlebar", "HBox"}, {"btn_exit", "Button"},
        {"client", "Box"}, {"welcompage", "VBox"}, {"appnameLable_welcom", "Label"},
        {"btn_startinstall", "Button"}, {"bottombar", "HBox"}, {"checkbox_agreement", "CheckBox"},
        {"btn_useragreement", "Button"}, {"btn_customize", "Button"}, {"btn_expand", "Button"},
        {"customizebar", "VBox"}, {"edit_installdir", "RichEdit"},
        {"btn_changeinstallpath", "Button"}, {"installpage", "VBox"},
        {"appnameLable_install", "Label"}, {"progress_install", "Progress"},
        {"progress_install_value", "Label"}, {"downloadAlert", "HBox"},
        {"btn_downloadOfflinePackage", "Button"}, {"ExitStartpage", "VBox"},
        {"askuserStayMsg", "Label"}, {"checkbox_1", "CheckBox"}, {"checkbox_2", "CheckBox"},
        {"checkbox_3", "CheckBox"}, {"checkbox_4", "CheckBox"}, {"checkbox_5", "CheckBox"},
        {"edit_feedback", "RichEdit"}, {"btn_quitStart", "Button"},
        {"btn_continueInstall", "Button"}, {"installedpage", "VBox"}, {"btn_startapp", "Button"},
        {"installfaildpage", "VBox"}, {"download_failed_msg", "Label"},
        {"btn_redownload", "Button"}, {"btn_reinstall", "Button"}}},
      {"msgbox/msgbox.xml",
       {{"title", "Label"}, {"closebtn", "Button"}, {"content", "RichEdit"}, {"btn_yes", "Button"},
        {"btn_no", "Button"}}}};
  for (const auto& [file, names] : expected) {
    SCOPED_TRACE(file);
    Markup m;
    ASSERT_TRUE(m.Load(Bytes(ThemePath("default", file.c_str())))) << m.error;
    std::vector<ui::MarkupNode> all;
    Walk(m.document.GetRoot(), &all);
    std::multimap<std::string, std::string> found;
    for (const ui::MarkupNode& n : all)
      if (n.FindAttribute(u"name")) found.emplace(Attr(n, u"name"), ui::Utf16ToUtf8(n.Name()));
    for (const auto& [name, kind] : names) {
      auto range = found.equal_range(name);
      ASSERT_NE(range.first, range.second) << name;
      // "bottombar" names one box on the welcome page and one on the exit page.
      for (auto it = range.first; it != range.second; ++it) EXPECT_EQ(it->second, kind) << name;
    }
  }
}

// Picture file names in an attribute list (a class value or a layout element's attributes): an
// image text is either the file name itself or items with file='...'.
std::vector<std::string> PictureNames(const std::vector<std::pair<std::string, std::string>>& attrs) {
  std::vector<std::string> names;
  const std::regex file(R"re(file='([^']*)')re");
  for (const auto& [name, value] : attrs) {
    if (name.size() < 5 || name.compare(name.size() - 5, 5, "image") != 0 || value.empty()) continue;
    std::smatch m;
    names.push_back(std::regex_search(value, m, file) ? std::string(m[1]) : value);
  }
  return names;
}

std::vector<std::pair<std::string, std::string>> Attributes(const ui::MarkupNode& node) {
  std::vector<std::pair<std::string, std::string>> out;
  for (size_t i = 0; i < node.AttributeCount(); ++i)
    out.emplace_back(ui::Utf16ToUtf8(node.AttributeName(i)), ui::Utf16ToUtf8(node.AttributeValue(i)));
  return out;
}

// A class value: name="value" items separated by one blank.
std::vector<std::pair<std::string, std::string>> ClassAttributes(const std::string& value) {
  std::vector<std::pair<std::string, std::string>> out;
  const std::regex item(R"re(([A-Za-z_]+)="([^"]*)")re");
  for (std::sregex_iterator it(value.begin(), value.end(), item), end; it != end; ++it)
    out.emplace_back((*it)[1], (*it)[2]);
  return out;
}

// Every picture the windows name is found in each variant by the package lookup, relative to
// the layout's folder: the layouts' own references and those of the classes they use (the scroll
// bar and slider classes are unused and name no packaged picture). The check-box pictures are
// named under "CheckBox" and are found without regard to case.
TEST_F(SkinPackageTest, EveryPictureTheWindowsNameIsInEachVariant) {
  Markup global;
  ASSERT_TRUE(global.Load(Bytes(ThemePath("default", "global.xml")))) << global.error;
  const std::set<std::string> unused = {"vscrollbar", "hscrollbar", "slider_green"};
  std::map<std::string, std::vector<std::string>> class_pictures;
  for (ui::MarkupNode n = global.document.GetRoot().FirstChild(); n.IsValid(); n = n.NextSibling())
    if (n.Name() == u"Class" && !unused.count(Attr(n, u"name")))
      class_pictures[Attr(n, u"name")] = PictureNames(ClassAttributes(Attr(n, u"value")));

  int checked = 0;
  bool saw_checkbox_case = false;
  for (const std::string layout : {"basic/basic.xml", "msgbox/msgbox.xml"}) {
    const std::string folder = layout.substr(0, layout.find('/'));
    Markup m;
    ASSERT_TRUE(m.Load(Bytes(ThemePath("default", layout.c_str())))) << m.error;
    std::vector<ui::MarkupNode> all;
    Walk(m.document.GetRoot(), &all);
    std::vector<std::string> names;
    for (const ui::MarkupNode& n : all) {
      for (const std::string& pic : PictureNames(Attributes(n))) names.push_back(pic);
      if (auto cls = n.FindAttribute(u"class")) {
        const std::string c = ui::Utf16ToUtf8(*cls);
        ASSERT_TRUE(class_pictures.count(c)) << "unknown class " << c;
        for (const std::string& pic : class_pictures[c]) names.push_back(pic);
      }
    }
    for (const char* v : kVariants)
      for (const std::string& n : names) {
        saw_checkbox_case |= n.find("CheckBox") != std::string::npos;
        EXPECT_TRUE(package().ReadFile(ui::Utf8ToUtf16(ThemePath(v, folder + "/" + n))).has_value())
            << layout << ": " << n << " in " << v;
        ++checked;
      }
  }
  EXPECT_GT(checked, 3 * 20);
  EXPECT_TRUE(saw_checkbox_case);
  // The frame's default shadow picture.
  for (const char* v : kVariants)
    EXPECT_TRUE(package().ReadFile(ui::Utf8ToUtf16(ThemePath(v, "shadow/../public/bk/bk_shadow.png"))));
}

}  // namespace
