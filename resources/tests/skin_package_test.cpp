// The skin package as the installer carries it: the archive linked into this test executable as
// resource THEME 136 is opened from the embedded bytes and checked entry by entry.

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

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
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
  // Entry names compared without regard to ASCII letter case, as the package lookup does.
  const ArchiveEntry* FindIgnoringCase(const std::string& name) const {
    for (const auto& [n, e] : entries_)
      if (Lower(n) == Lower(name)) return &e;
    return nullptr;
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
    std::string error;
    archive_ = new std::optional<SkinArchive>(SkinArchive::FromEmbeddedResource(&error));
    error_ = new std::string(error);
  }
  static void TearDownTestSuite() {
    delete archive_;
    delete error_;
  }
  void SetUp() override { ASSERT_TRUE(archive_->has_value()) << *error_; }
  const SkinArchive& archive() const { return **archive_; }

  const std::string& Bytes(const std::string& name) const {
    static const std::string kEmpty;
    const ArchiveEntry* e = archive().Find(name);
    EXPECT_NE(e, nullptr) << name;
    return e ? e->bytes : kEmpty;
  }

  static std::optional<SkinArchive>* archive_;
  static std::string* error_;
};

std::optional<SkinArchive>* SkinPackageTest::archive_ = nullptr;
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
    const std::string& base = Bytes(ThemePath("default", x));
    EXPECT_EQ(Bytes(ThemePath("default-hdpi", x)), base);
    EXPECT_EQ(Bytes(ThemePath("default-xhdpi", x)), base);
  }
}

TEST_F(SkinPackageTest, PicturesHaveTheirSizeInEachVariant) {
  for (int v = 0; v < 3; ++v) {
    for (const PictureSize& p : kPictures) {
      const std::string name = ThemePath(kVariants[v], p.path);
      SCOPED_TRACE(name);
      const std::string& png = Bytes(name);
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
    const std::string& text = Bytes(ThemePath("default", x));
    SCOPED_TRACE(x);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u);
    EXPECT_TRUE(AllLineEndsAreCrlf(text));
  }
  const std::map<std::string, std::pair<std::string, std::string>> ok_cancel = {
      {kLanguageFiles[0], {"OK", "Cancel"}}, {kLanguageFiles[1], {"确定", "取消"}}};
  for (const auto& [file, texts] : ok_cancel) {
    SCOPED_TRACE(file);
    const std::string& text = Bytes(file);
    EXPECT_EQ(text.rfind(bom, 0), 0u);
    EXPECT_TRUE(AllLineEndsAreCrlf(text));
    // Read the way the language table reads it: "key = value", ";" lines are comments.
    std::map<std::string, std::string> table;
    std::regex line(R"re(^\s*([^=;\s][^=]*?)\s*=\s*([^=]*?)\s*$)re");
    size_t start = bom.size();
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::smatch m;
      const std::string l = text.substr(start, end - start);
      if (std::regex_match(l, m, line)) table[m[1]] = m[2];
      start = end + 1;
    }
    EXPECT_EQ(table["STRING_OK"], texts.first);
    EXPECT_EQ(table["STRING_CANCEL"], texts.second);
    EXPECT_TRUE(std::any_of(table.begin(), table.end(), [](const auto& kv) {
      return kv.first.rfind("STRID_CEF_BROWSER_", 0) == 0;
    }));
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
// The style sheet and the layouts' picture references.

std::string WithoutComments(std::string text) {
  for (size_t at = text.find("<!--"); at != std::string::npos; at = text.find("<!--", at)) {
    const size_t end = text.find("-->", at);
    text.erase(at, end == std::string::npos ? std::string::npos : end + 3 - at);
  }
  return text;
}

std::string DecodeQuotes(std::string value) {
  for (size_t at = value.find("&quot;"); at != std::string::npos; at = value.find("&quot;", at))
    value.replace(at, 6, "\"");
  return value;
}

// (attribute, value) of every element with the given name, in file order.
std::vector<std::map<std::string, std::string>> Elements(const std::string& text,
                                                         const std::string& element) {
  std::vector<std::map<std::string, std::string>> out;
  const std::regex tag("<" + element + R"re(((?:\s+[A-Za-z_]+="[^"]*")*)\s*/?>)re");
  const std::regex attribute(R"re(([A-Za-z_]+)="([^"]*)")re");
  for (std::sregex_iterator it(text.begin(), text.end(), tag), end; it != end; ++it) {
    std::map<std::string, std::string> attrs;
    const std::string list = (*it)[1];
    for (std::sregex_iterator a(list.begin(), list.end(), attribute); a != end; ++a)
      attrs[(*a)[1]] = (*a)[2];
    out.push_back(attrs);
  }
  return out;
}

TEST_F(SkinPackageTest, GlobalStyleSheetRegistersFontsColoursAndClasses) {
  const std::string text = WithoutComments(Bytes(ThemePath("default", "global.xml")));
  ASSERT_NE(text.find("<Global>"), std::string::npos);

  struct Font {
    const char* name;
    int size;
    bool bold, underline;
  };
  std::vector<Font> fonts;
  for (const char* face : {"system", "arial"})
    for (bool bold : {false, true})
      for (int size : {10, 12, 14, 16, 18}) fonts.push_back({face, size, bold, false});
  const Font tail[] = {{"system", 20, false, false}, {"system", 20, true, false},
                       {"system", 22, false, false}, {"system", 22, true, false},
                       {"system", 12, false, true},  {"system", 24, false, false},
                       {"system", 14, false, true},  {"system", 16, false, true},
                       {"system", 32, false, false}};
  fonts.insert(fonts.end(), std::begin(tail), std::end(tail));
  const auto font_elements = Elements(text, "Font");
  ASSERT_EQ(font_elements.size(), 29u);
  for (size_t i = 0; i < fonts.size(); ++i) {
    SCOPED_TRACE("font " + std::to_string(i));
    auto attrs = font_elements[i];
    EXPECT_EQ(attrs["name"], fonts[i].name);
    EXPECT_EQ(attrs["size"], std::to_string(fonts[i].size));
    EXPECT_EQ(attrs["bold"] == "true", fonts[i].bold);
    EXPECT_EQ(attrs["underline"] == "true", fonts[i].underline);
  }

  const std::vector<std::pair<std::string, std::string>> colours = {
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
  const auto colour_elements = Elements(text, "TextColor");
  ASSERT_EQ(colour_elements.size(), 41u);
  for (size_t i = 0; i < colours.size(); ++i) {
    auto attrs = colour_elements[i];
    EXPECT_EQ(attrs["name"], colours[i].first);
    EXPECT_EQ(attrs["value"], colours[i].second) << colours[i].first;
  }
  // The last three colours close the file, after the classes.
  EXPECT_GT(text.find("name=\"bk_color_mainwnd\""), text.rfind("<Class "));

  const char* classes[] = {"font_title", "caption", "vscrollbar", "hscrollbar",
                           "btn_global_blue_80x30", "btn_global_white_80x30", "btn_wnd_close",
                           "btn_wnd_white_min", "btn_wnd_white_close", "progress_blue",
                           "slider_green", "splitline_hor_level1", "splitline_hor_level2",
                           "splitline_ver_level1", "simple", "prompt", "checkbox_agree",
                           "font_normal"};
  const auto class_elements = Elements(text, "Class");
  ASSERT_EQ(class_elements.size(), 18u);
  for (size_t i = 0; i < 18; ++i) {
    auto attrs = class_elements[i];
    EXPECT_EQ(attrs["name"], classes[i]);
    EXPECT_FALSE(attrs["value"].empty()) << classes[i];
  }
}

// Picture file names in an attribute list (a class value or a layout element): an image text is
// either the file name itself or items with file='...'.
std::vector<std::string> PictureNames(const std::string& attribute_text) {
  std::vector<std::string> names;
  const std::regex image(R"re(([a-z]*image)="([^"]*)")re");
  const std::regex file(R"re(file='([^']*)')re");
  for (std::sregex_iterator it(attribute_text.begin(), attribute_text.end(), image), end; it != end;
       ++it) {
    const std::string value = (*it)[2];
    if (value.empty()) continue;
    std::smatch m;
    names.push_back(std::regex_search(value, m, file) ? std::string(m[1]) : value);
  }
  return names;
}

// "../" removes the folder before it, as the package lookup does.
std::string Resolve(const std::string& folder, const std::string& name) {
  std::string path = folder + "/" + name;
  for (size_t at = path.find("/../"); at != std::string::npos; at = path.find("/../")) {
    const size_t start = path.rfind('/', at - 1);
    path.erase(start == std::string::npos ? 0 : start + 1, at + 4 - (start == std::string::npos ? 0 : start + 1));
  }
  return path;
}

// Every picture the windows name is found in each variant: the layouts' own references and those
// of the classes they use (the scroll bar and slider classes are unused and name no packaged
// picture). The check-box pictures are named under "CheckBox" and found without regard to case.
TEST_F(SkinPackageTest, EveryPictureTheWindowsNameIsInEachVariant) {
  const std::string global = Bytes(ThemePath("default", "global.xml"));
  const std::set<std::string> unused = {"vscrollbar", "hscrollbar", "slider_green"};
  std::map<std::string, std::vector<std::string>> class_pictures;
  for (auto attrs : Elements(WithoutComments(global), "Class"))
    if (!unused.count(attrs["name"])) class_pictures[attrs["name"]] = PictureNames(DecodeQuotes(attrs["value"]));

  int checked = 0;
  for (const char* layout : {"basic/basic.xml", "msgbox/msgbox.xml"}) {
    const std::string folder = std::string(layout).substr(0, std::string(layout).find('/'));
    const std::string text = WithoutComments(Bytes(ThemePath("default", layout)));
    std::vector<std::string> names = PictureNames(text);
    const std::regex class_attr(R"re(class="([^"]*)")re");
    for (std::sregex_iterator it(text.begin(), text.end(), class_attr), end; it != end; ++it) {
      ASSERT_TRUE(class_pictures.count((*it)[1])) << "unknown class " << (*it)[1];
      for (const std::string& n : class_pictures[(*it)[1]]) names.push_back(n);
    }
    for (const char* v : kVariants)
      for (const std::string& n : names) {
        EXPECT_NE(archive().FindIgnoringCase(ThemePath(v, Resolve(folder, n))), nullptr)
            << layout << ": " << n << " in " << v;
        ++checked;
      }
  }
  EXPECT_GT(checked, 3 * 20);
  // The shadow's default picture, named by the window frame.
  for (const char* v : kVariants) EXPECT_NE(archive().Find(ThemePath(v, "public/bk/bk_shadow.png")), nullptr);
}

}  // namespace
