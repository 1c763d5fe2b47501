#include "ui/builder/skin_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/builder/layout_dump.h"
#include "ui/builder/tests/skin_fixture.h"
#include "ui/controls/button.h"
#include "ui/resources/tests/test_zip.h"

namespace ui::testing {
namespace {

class SkinBuilderTest : public SkinFixture {};

TEST_F(SkinBuilderTest, GlobalStyleSheetFillsTheTablesDuringInitialize) {
  WriteThemeFile("global.xml",
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                 "<Global defaultfontcolor=\"dark\" disabledfontcolor=\"light\" other=\"x\">\r\n"
                 "  <Font name=\"\" size=\"10\"/>\r\n"
                 "  <Font name=\"system\" size=\"20\" bold=\"true\" size=\"32\"/>\r\n"
                 "  <TextColor name=\"dark\" value=\"#ff333333\"/>\r\n"
                 "  <TextColor name=\"nohash\" value=\"ff333333\"/>\r\n"
                 "  <TextColor name=\"short\" value=\"#\"/>\r\n"
                 "  <TextColor name=\"empty\" value=\"\"/>\r\n"
                 "  <Class name=\"caption\" value=\"height=&quot;34&quot; bkcolor=&quot;dark&quot;\"/>\r\n"
                 "  <Image name=\"ignored\"/>\r\n"
                 "</Global>\r\n");
  Res().SetDensitySource([] { return 144; });  // scale 150
  Res().Initialize(Utf8ToUtf16(root_.string()), nullptr, u"theme", u"lang");
  EXPECT_EQ(Res().DefaultTextColorName(), u"dark");
  EXPECT_EQ(Res().DefaultDisabledTextColorName(), u"light");
  ASSERT_EQ(Res().FontCount(), 1u);  // the nameless font is not registered
  EXPECT_EQ(Res().FontInfo(0)->size, 48);  // the last "size" wins, scaled
  EXPECT_TRUE(Res().FontInfo(0)->bold);
  EXPECT_EQ(Res().LookupColor(u"dark"), 0xff333333u);
  EXPECT_EQ(Res().LookupColor(u"nohash"), 0x0f333333u);
  EXPECT_EQ(Res().LookupColor(u"short"), 0u);
  EXPECT_EQ(Res().LookupClassStyle(u"caption"), u"height=\"34\" bkcolor=\"dark\"");
}

TEST_F(SkinBuilderTest, AttributesWrittenAfterAClassOverrideIt) {
  Res().RegisterClassStyle(u"btn", u"normaltextcolor=\"white\" font=\"7\"");
  ASSERT_TRUE(BuildRoot(u"<Window><HBox><Button name=\"after\" class=\"btn\" normaltextcolor=\"darkcolor\"/>"
                        u"<Button name=\"before\" normaltextcolor=\"darkcolor\" class=\"btn\"/></HBox></Window>"));
  EXPECT_EQ(static_cast<Button*>(Find("after"))->GetStateTextColor(ControlState::Normal), u"darkcolor");
  EXPECT_EQ(static_cast<Button*>(Find("before"))->GetStateTextColor(ControlState::Normal), u"white");
  EXPECT_EQ(static_cast<Button*>(Find("before"))->GetFont(), 7);
}

TEST_F(SkinBuilderTest, WindowClassesServeTheWindowsControls) {
  ASSERT_TRUE(BuildRoot(u"<Window><Class name=\"local\" value=\"width=&quot;33&quot;\"/>"
                        u"<HBox><Control name=\"c\" class=\"local\"/></HBox></Window>"));
  EXPECT_EQ(Find("c")->GetFixedWidth(), 33);
}

TEST_F(SkinBuilderTest, IncludesUnknownElementsAndFactories) {
  WriteThemeFile("part.xml", "<Window><Control name=\"part\" width=\"5\"/></Window>");
  ControlFactory factory = [](std::u16string_view name) -> std::unique_ptr<Control> {
    if (name == u"Special") return std::make_unique<Control>();
    return nullptr;
  };
  SkinBuilder builder;
  std::unique_ptr<Control> root = builder.Build(
      u"<Window><HBox><Include source=\"part.xml\" count=\"3\"/><Include count=\"0\" source=\"part.xml\"/>"
      u"<Include/><Mystery><Control name=\"lost\"/></Mystery><Special name=\"special\"/>"
      u"<Control name=\"after\"/></HBox></Window>",
      factory, window_.get());
  ASSERT_NE(root, nullptr);
  window_->AttachRoot(std::move(root));
  Box* row = static_cast<Box*>(window_->GetRoot());
  ASSERT_EQ(row->GetCount(), 5u);
  EXPECT_EQ(row->GetItemAt(2)->GetName(), u"part");
  EXPECT_EQ(Find("lost"), nullptr);
  EXPECT_EQ(row->GetItemAt(3), Find("special"));
  EXPECT_EQ(row->GetItemAt(4), Find("after"));
}

TEST_F(SkinBuilderTest, ControlsUnderANonContainerStopTheBuild) {
  SkinBuilder builder;
  EXPECT_EQ(builder.Build(u"<Window><HBox><Label><Control/></Label></HBox></Window>", nullptr, window_.get()),
            nullptr);
  SkinBuilder broken;
  EXPECT_EQ(broken.Build(u"<Window><HBox></Box></Window>", nullptr, window_.get()), nullptr);
  EXPECT_EQ(broken.Document().LastErrorMessage(), u"Unmatched closing tag");
  SkinBuilder missing;
  EXPECT_EQ(missing.Build(u"nothing.xml", nullptr, window_.get()), nullptr);
}

TEST_F(SkinBuilderTest, BuildIntoATargetBoxTakesTheFirstElementsAttributes) {
  Box target;
  target.SetWindow(window_.get());
  SkinBuilder builder;
  EXPECT_EQ(builder.BuildIntoTarget(u"<Window><Font name=\"a\"/><VBox width=\"70\"><Control/><Control/></VBox>"
                                    u"</Window>",
                                    nullptr, window_.get(), &target),
            &target);
  EXPECT_EQ(target.GetFixedWidth(), 70);
  EXPECT_EQ(target.GetCount(), 2u);
}

TEST_F(SkinBuilderTest, EventElementsApplyAttributesToTheirReceivers) {
  ASSERT_TRUE(Layout(u"<Window><HBox name=\"root\"><Box name=\"panel\" width=\"50\">"
                     u"<Event type=\"buttondown\" receiver=\"./inside far\" applyattribute=\"visible=&quot;false&quot;\"/>"
                     u"<BubbledEvent type=\"select unknownname\" receiver=\"./inside\" applyattribute=\"width=&quot;9&quot;\"/>"
                     u"<Control name=\"inside\"/></Box><Control name=\"far\"/></HBox></Window>",
                     {100, 10}));
  window_->SendNotify(Find("panel"), EventType::kMouseButtonDown);
  EXPECT_FALSE(Find("inside")->IsOwnVisible());
  EXPECT_FALSE(Find("far")->IsOwnVisible());  // looked up in the whole window
  window_->SendNotify(Find("inside"), EventType::kSelect);  // bubbles through the panel
  EXPECT_EQ(Find("inside")->GetFixedWidth(), 9);
}

// Records the window element's properties as a window with a native window would take them.
class RecordingWindow : public HeadlessWindow {
 public:
  bool HasNativeWindow() const override { return true; }
  void SetInitSize(int cx, int cy) override { calls.push_back("size " + std::to_string(cx) + "," + std::to_string(cy)); }
  void SetShadowAttached(bool on) override { calls.push_back(std::string("shadow ") + (on ? "on" : "off")); }
  void SetCaptionRect(const UiRect& r) override {
    calls.push_back("caption " + std::to_string(r.left) + "," + std::to_string(r.bottom));
  }
  void SetMinInfo(int cx, int cy) override { calls.push_back("min " + std::to_string(cx) + "," + std::to_string(cy)); }
  void SetSizeBox(const UiRect& r) override { calls.push_back("sizebox " + std::to_string(r.left)); }
  void SetHeightPercent(double f) override { calls.push_back("percent " + std::to_string(static_cast<int>(f * 10))); }
  std::vector<std::string> calls;
};

TEST_F(SkinBuilderTest, WindowAttributesApplyInDocumentOrderAndScale) {
  SetScale(150);
  RecordingWindow window;
  SkinBuilder builder;
  std::unique_ptr<Control> root = builder.Build(
      u"<Window shadowattached=\"false\" size=\"600,400\" caption=\"0,0,0,34\" mininfo=\"0,300\" sizebox=\"4,4,4,4\" "
      u"heightpercent=\"0.8\"><Box/></Window>",
      nullptr, &window);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"shadow off", "size 900,600", "caption 0,51", "min 0,450",
                                                    "sizebox 4", "percent 8"}));
}

TEST_F(SkinBuilderTest, PackagedSkinsAndTheirPictures) {
  const std::string bytes = WriteZip(root_ / "skin.zip",
                                     {{"res/theme/basic/main.xml",
                                       "\xEF\xBB\xBF<Window><HBox><Control name=\"pic\" width=\"auto\" height=\"auto\" "
                                       "bkimage=\"../public/Pic.bmp\"/></HBox></Window>"},
                                      {"res/theme/public/pic.bmp", SolidBmp(7, 5, 0x123456)}});
  ASSERT_TRUE(Res().OpenPackage(bytes.data(), bytes.size()));
  Res().SetResourceFolder(u"res/theme");
  window_->SetResourcePath(u"basic");
  // A byte-order mark in a packaged file is skipped, as it is on disk.
  ASSERT_TRUE(BuildRoot(u"basic/main.xml"));
  window_->Arrange({100, 100});
  EXPECT_EQ(PosOf("pic"), "0,0,7,5");
}

TEST_F(SkinBuilderTest, DumpListsEveryControlInTreeOrder) {
  ASSERT_TRUE(Layout(u"<Window><VBox name=\"v\"><Control name=\"a\" height=\"10\"/><HBox visible=\"false\">"
                     u"<Control/></HBox></VBox></Window>",
                     {20, 30}));
  EXPECT_EQ(DumpLayout(*window_->GetRoot()),
            "0 VBox v 0,0,20,30\n"
            "1 Control a 0,0,20,10\n"
            "1 HBox - 0,0,0,0 hidden\n"
            "2 Control - 0,0,0,0 hidden\n");
}

}  // namespace
}  // namespace ui::testing
