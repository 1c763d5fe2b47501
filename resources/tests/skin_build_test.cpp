// The skin package through the UI framework, as the installer starts: the embedded archive is
// opened, the global resources are initialised with a theme variant (so "global.xml" goes
// through the skin builder), and the two windows' layouts are built and laid out at the
// variant's scale.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/embedded_resources.h"
#include "ui/builder/skin_builder.h"
#include "ui/core/control.h"
#include "ui/core/headless_window.h"
#include "ui/markup/utf.h"
#include "ui/resources/global_resources.h"

namespace {

struct Variant {
  const char* theme;
  int density;  // dots per inch
  int scale;    // percent
};

class SkinBuildTest : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override {
    const auto bytes = platform::FindEmbeddedResource(platform::kThemeResourceType,
                                                      platform::kThemeResourceId);
    ASSERT_TRUE(bytes);
    Res().Reset();
    ASSERT_TRUE(Res().OpenPackage(bytes->data(), bytes->size()));
    const int density = GetParam().density;
    Res().SetDensitySource([density] { return density; });
    SkinBuilder::InstallGlobalStyleLoader();
    Res().Initialize(u"resources\\", nullptr, ui::Utf8ToUtf16(GetParam().theme), u"lang\\zh_CN");
    ASSERT_EQ(Res().Dpi().Scale(), GetParam().scale);
  }
  void TearDown() override { Res().Reset(); }

  using SkinBuilder = ui::SkinBuilder;
  static ui::GlobalResources& Res() { return ui::GlobalResources::Instance(); }
  int S(int v) const { return Res().ScaleValue(v); }

  // Builds "<folder>/<file>" into a fresh window and lays it out at the scaled client size.
  bool Build(const char* folder, const char* file, int width, int height) {
    window_ = std::make_unique<ui::HeadlessWindow>();
    window_->SetResourcePath(ui::Utf8ToUtf16(std::string(folder) + "\\"));
    SkinBuilder builder;
    auto root = builder.Build(ui::Utf8ToUtf16(std::string(folder) + "\\" + file), nullptr, window_.get());
    if (!root) return false;
    window_->AttachRoot(std::move(root));
    window_->Arrange({S(width), S(height)});
    return true;
  }
  ui::Control* Find(const char* name) const { return window_->FindControl(ui::Utf8ToUtf16(name)); }

  // Shows one of the main window's pages (and the band the window shows with it) and lays the
  // window out again.
  void ShowPage(const char* page) {
    for (const char* p : {"welcompage", "installpage", "ExitStartpage", "installedpage", "installfaildpage"})
      Find(p)->SetVisible(std::string(p) == page);
    const bool exit_page = std::string(page) == "ExitStartpage";
    Find("bkimage1")->SetVisible(exit_page);
    Find("bkimage2")->SetVisible(!exit_page);
    window_->Arrange({S(600), S(400)});
  }
  double CentreX(const char* name) const {
    const ui::UiRect r = Find(name)->Pos();
    return (r.left + r.right) / 2.0;
  }

  std::unique_ptr<ui::HeadlessWindow> window_;
};

TEST_P(SkinBuildTest, GlobalStyleSheetFillsTheTables) {
  EXPECT_EQ(Res().FontCount(), 29u);
  // Font 28 is "system" 32, scaled.
  ASSERT_NE(Res().FontInfo(28), nullptr);
  EXPECT_EQ(Res().FontInfo(28)->size, S(32));
  EXPECT_TRUE(Res().FontInfo(7)->bold);
  EXPECT_TRUE(Res().FontInfo(26)->underline);

  const std::pair<const char16_t*, uint32_t> colours[] = {
      {u"white", 0xffffffff},           {u"darkcolor", 0xff333333},  {u"gray", 0xff8e99a6},
      {u"blue", 0xff006dd9},            {u"red", 0xffc63535},        {u"transbkblack", 0x80000000},
      {u"textdefaultcolor", 0xff333333}, {u"bk_color_mainwnd", 0xfff4f8f9},
      {u"text_color_666", 0xff666666},  {u"text_color_333", 0xff333333},
      {u"color_palette9", 0xffffffff}};
  for (const auto& [name, argb] : colours) EXPECT_EQ(Res().LookupColor(name), argb) << ui::Utf16ToUtf8(name);

  for (const char16_t* name :
       {u"font_title", u"caption", u"vscrollbar", u"hscrollbar", u"btn_global_blue_80x30",
        u"btn_global_white_80x30", u"btn_wnd_close", u"btn_wnd_white_min", u"btn_wnd_white_close",
        u"progress_blue", u"slider_green", u"splitline_hor_level1", u"splitline_hor_level2",
        u"splitline_ver_level1", u"simple", u"prompt", u"checkbox_agree", u"font_normal"})
    EXPECT_FALSE(Res().LookupClassStyle(name).empty()) << ui::Utf16ToUtf8(name);
  // The caption class reads back as written, entities decoded.
  EXPECT_EQ(Res().LookupClassStyle(u"font_title"), u"font=\"2\"");

  // The language file lies beside the themes in the package.
  EXPECT_EQ(Res().LookupString(u"STRING_OK"), u"确定");
}

TEST_P(SkinBuildTest, MainWindowLaysOutCentredAtEveryScale) {
  ASSERT_TRUE(Build("basic", "basic.xml", 600, 400));
  const int width = S(600);
  for (const char* name : {"btn_startinstall", "appnameLable_welcom", "btn_exit", "checkbox_1",
                           "progress_install", "btn_reinstall", "btn_redownload"})
    ASSERT_NE(Find(name), nullptr) << name;

  // The welcome page's logo, name and start button share the window's centre line.
  for (const char* name : {"btn_startinstall", "appnameLable_welcom"}) {
    const ui::UiRect r = Find(name)->Pos();
    EXPECT_NEAR((r.left + r.right) / 2.0, width / 2.0, 1.0) << name;
  }
  const ui::UiRect start = Find("btn_startinstall")->Pos();
  EXPECT_EQ(start.right - start.left, S(240));
  EXPECT_EQ(start.bottom - start.top, S(52));
  // The tall band ends above the start button, which sits on the light background.
  EXPECT_GT(start.top, S(256));

  // The close button keeps 11 from the right edge and 10 from the top.
  const ui::UiRect close = Find("btn_exit")->Pos();
  EXPECT_EQ(close.right, width - S(11));
  EXPECT_EQ(close.top, S(10));
  EXPECT_EQ(close.bottom - close.top, S(24));
}

// Each page's main button sits centred on the light background under the tall band; the
// progress bar too.
TEST_P(SkinBuildTest, PagesPlaceTheirButtonsUnderTheBand) {
  ASSERT_TRUE(Build("basic", "basic.xml", 600, 400));
  const std::pair<const char*, const char*> pages[] = {{"welcompage", "btn_startinstall"},
                                                       {"installpage", "progress_install"},
                                                       {"installedpage", "btn_startapp"},
                                                       {"installfaildpage", "btn_redownload"}};
  for (const auto& [page, control] : pages) {
    SCOPED_TRACE(page);
    ShowPage(page);
    const ui::UiRect r = Find(control)->Pos();
    EXPECT_GT(r.top, S(256));
    EXPECT_LT(r.bottom, S(400));
    EXPECT_NEAR(CentreX(control), S(600) / 2.0, 1.0);
  }
  EXPECT_EQ(Find("progress_install")->Pos().bottom - Find("progress_install")->Pos().top, S(6));
}

// The exit page is the fullest: its bottom bar keeps its place above the 24 margin.
TEST_P(SkinBuildTest, ExitPageFitsTheWindow) {
  ASSERT_TRUE(Build("basic", "basic.xml", 600, 400));
  ShowPage("ExitStartpage");
  const ui::UiRect quit = Find("btn_quitStart")->Pos(), stay = Find("btn_continueInstall")->Pos();
  EXPECT_EQ(stay.top, S(400) - S(24) - S(28));
  EXPECT_EQ(quit.top, stay.top);
  EXPECT_EQ(stay.right, S(600) - S(30));
  EXPECT_LE(Find("checkbox_3")->Pos().bottom, Find("checkbox_1")->Pos().top + S(81));
  if (const ui::Control* feedback = Find("edit_feedback")) {
    EXPECT_LE(feedback->Pos().bottom, stay.top);
    EXPECT_EQ(feedback->Pos().bottom - feedback->Pos().top, S(95));
  }
}

TEST_P(SkinBuildTest, MessageBoxLaysOut) {
  ASSERT_TRUE(Build("msgbox", "msgbox.xml", 340, 180));
  for (const char* name : {"title", "closebtn", "btn_yes", "btn_no"})
    ASSERT_NE(Find(name), nullptr) << name;
  const ui::UiRect close = Find("closebtn")->Pos();
  EXPECT_EQ(close.right - close.left, S(20));
  EXPECT_LE(close.right, S(340));
  // Yes and no side by side at the right, no after yes.
  const ui::UiRect yes = Find("btn_yes")->Pos(), no = Find("btn_no")->Pos();
  EXPECT_LE(yes.right, no.left);
  EXPECT_EQ(no.right, S(340) - S(20));
  EXPECT_GE(no.right - no.left, S(80));
}

INSTANTIATE_TEST_SUITE_P(Variants, SkinBuildTest,
                         ::testing::Values(Variant{"themes\\default", 96, 100},
                                           Variant{"themes\\default-hdpi", 120, 125},
                                           Variant{"themes\\default-xhdpi", 144, 150}),
                         [](const auto& info) { return std::to_string(info.param.scale); });

}  // namespace
