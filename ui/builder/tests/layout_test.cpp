#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/builder/tests/skin_fixture.h"

namespace ui::testing {
namespace {

struct LayoutCase {
  const char* what;
  const char16_t* markup;
  UiSize client;
  std::vector<std::pair<const char*, const char*>> expected;  // name, "l,t,r,b"
};

class LayoutTest : public SkinFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, PlacesEveryNamedControl) {
  const LayoutCase& c = GetParam();
  ASSERT_TRUE(Layout(c.markup, c.client)) << c.what;
  for (const auto& [name, rect] : c.expected) EXPECT_EQ(PosOf(name), rect) << c.what << ": " << name;
}

const LayoutCase kCases[] = {
    {"three stretch children share 100: the leftover pixel goes to the first",
     u"<Window><HBox name=\"row\"><Control name=\"a\"/><Control name=\"b\"/><Control name=\"c\"/></HBox></Window>",
     {100, 20},
     {{"row", "0,0,100,20"}, {"a", "0,0,34,20"}, {"b", "34,0,67,20"}, {"c", "67,0,100,20"}}},
    {"two leftover pixels go to the first two",
     u"<Window><HBox><Control name=\"a\"/><Control name=\"b\"/><Control name=\"c\"/></HBox></Window>",
     {11, 5},
     {{"a", "0,0,4,5"}, {"b", "4,0,8,5"}, {"c", "8,0,11,5"}}},
    {"child margin between a fixed and two stretch children",
     u"<Window><HBox childmargin=\"10\"><Control name=\"a\" width=\"20\"/><Control name=\"b\"/>"
     u"<Control name=\"c\"/></HBox></Window>",
     {100, 10},
     {{"a", "0,0,20,10"}, {"b", "30,0,60,10"}, {"c", "70,0,100,10"}}},
    {"a stretch child's maximum width leaves its share unused",
     u"<Window><HBox><Control name=\"a\" maxwidth=\"10\"/><Control name=\"b\"/></HBox></Window>",
     {100, 10},
     {{"a", "0,0,10,10"}, {"b", "10,0,60,10"}}},
    {"margins of row children, and a stretch height inside them",
     u"<Window><HBox><Control name=\"a\" width=\"10\" margin=\"5,2,5,3\"/><Control name=\"b\" margin=\"1,0,0,0\"/>"
     u"</HBox></Window>",
     {50, 20},
     {{"a", "5,2,15,17"}, {"b", "21,0,50,20"}}},
    {"vertical centring rounds down: 15 / 2 = 7",
     u"<Window><HBox><Control name=\"a\" width=\"10\" height=\"10\" valign=\"center\"/>"
     u"<Control name=\"b\" width=\"10\" height=\"10\" valign=\"bottom\"/></HBox></Window>",
     {100, 25},
     {{"a", "0,7,10,17"}, {"b", "10,15,20,25"}}},
    {"fixed children wider than the row overflow; the stretch child gets nothing",
     u"<Window><HBox><Control name=\"a\" width=\"60\"/><Control name=\"b\" width=\"60\"/><Control name=\"c\"/>"
     u"</HBox></Window>",
     {100, 10},
     {{"a", "0,0,60,10"}, {"b", "60,0,120,10"}, {"c", "120,0,120,10"}}},
    {"a floating child ignores its siblings and sits by its margins in the padded area",
     u"<Window><HBox padding=\"5,5,5,5\"><Control name=\"a\" width=\"30\"/>"
     u"<Control name=\"f\" float=\"true\" width=\"10\" height=\"10\" margin=\"0,0,2,2\" halign=\"right\" "
     u"valign=\"bottom\"/><Control name=\"b\"/></HBox></Window>",
     {100, 50},
     {{"a", "5,5,35,45"}, {"b", "35,5,95,45"}, {"f", "83,33,93,43"}}},
    {"the free layout aligns each child in the whole padded box",
     u"<Window><Box padding=\"10,10,10,10\"><Control name=\"a\" width=\"20\" height=\"20\" halign=\"center\" "
     u"valign=\"center\"/><Control name=\"b\" width=\"20\" height=\"10\" halign=\"right\" margin=\"0,3,4,0\"/>"
     u"<Control name=\"c\"/></Box></Window>",
     {101, 60},
     {{"a", "40,20,60,40"}, {"b", "67,13,87,23"}, {"c", "10,10,91,50"}}},
    {"a column: stretch heights share, widths stretch inside margins, centring across",
     u"<Window><VBox childmargin=\"2\"><Control name=\"a\" height=\"10\" width=\"20\" halign=\"center\"/>"
     u"<Control name=\"b\" margin=\"3,0,3,0\"/><Control name=\"c\"/></VBox></Window>",
     {50, 41},
     {{"a", "15,0,35,10"}, {"b", "3,12,47,26"}, {"c", "0,28,50,41"}}},
    {"an auto-height column sums its children: 80 + 34 + (80 + 3) plus padding",
     u"<Window><VBox><VBox name=\"col\" height=\"auto\" padding=\"0,5,0,5\"><Control height=\"80\"/>"
     u"<Control height=\"34\"/><Control name=\"bar\" height=\"3\" margin=\"0,80,0,0\"/></VBox></VBox></Window>",
     {200, 400},
     {{"col", "0,0,200,207"}, {"bar", "0,199,200,202"}}},
    {"an auto-width row sums widths, margins and child margins",
     u"<Window><HBox><HBox name=\"r\" width=\"auto\" childmargin=\"5\" padding=\"1,0,2,0\">"
     u"<Control width=\"20\"/><Control width=\"30\" margin=\"4,0,0,0\"/></HBox><Control name=\"rest\"/></HBox></Window>",
     {200, 10},
     {{"r", "0,0,62,10"}, {"rest", "62,0,200,10"}}},
    {"a negative maximum height gives an empty height (and moves the next child up)",
     u"<Window><VBox><Control name=\"a\" maxheight=\"auto\"/><Control name=\"b\" height=\"10\"/></VBox></Window>",
     {50, 50},
     {{"a", "0,0,50,0"}, {"b", "0,-2,50,8"}}},
    {"an invisible child takes no room in a row",
     u"<Window><HBox><Control name=\"a\" visible=\"false\" width=\"40\"/><Control name=\"b\"/></HBox></Window>",
     {100, 10},
     {{"b", "0,0,100,10"}}},
    {"minimum width beats the share",
     u"<Window><HBox><Control name=\"a\" minwidth=\"70\"/><Control name=\"b\"/></HBox></Window>",
     {100, 10},
     {{"a", "0,0,70,10"}, {"b", "70,0,120,10"}}},
    {"tiles: columns from the item width, cells filled in rows",
     u"<Window><TileBox itemsize=\"20,10\" columns=\"5\"><Control name=\"a\"/><Control name=\"b\"/>"
     u"<Control name=\"c\"/><Control name=\"d\" width=\"8\" halign=\"center\"/></TileBox></Window>",
     {65, 40},
     {{"a", "0,0,20,10"}, {"b", "20,0,40,10"}, {"c", "40,0,60,10"}, {"d", "6,10,14,20"}}},
    {"tiles: a column count without an item size shares the width",
     u"<Window><TileBox columns=\"2\" childmargin=\"2\"><Control name=\"a\" height=\"10\"/>"
     u"<Control name=\"b\" height=\"10\"/><Control name=\"c\" height=\"10\"/></TileBox></Window>",
     {50, 40},
     {{"a", "0,0,24,10"}, {"b", "26,0,50,10"}, {"c", "0,12,24,22"}}},
};

INSTANTIATE_TEST_SUITE_P(Boxes, LayoutTest, ::testing::ValuesIn(kCases));

TEST_F(LayoutTest, ScaledSizesAndMarginsAt150) {
  SetScale(150);
  ASSERT_TRUE(Layout(u"<Window><HBox childmargin=\"10\"><Control name=\"a\" width=\"20\" margin=\"2,0,0,0\"/>"
                     u"<Control name=\"b\"/></HBox></Window>",
                     {200, 30}));
  EXPECT_EQ(PosOf("a"), "3,0,33,30");
  EXPECT_EQ(PosOf("b"), "48,0,200,30");
}

TEST_F(LayoutTest, HidingABoxHidesItsChildrenWithoutTouchingTheirFlags) {
  ASSERT_TRUE(Layout(u"<Window><Box name=\"outer\"><Box name=\"inner\"><Control name=\"leaf\"/></Box></Box></Window>",
                     {10, 10}));
  Control* outer = Find("outer");
  Control* leaf = Find("leaf");
  outer->SetVisible(false);
  EXPECT_FALSE(leaf->IsVisible());
  EXPECT_TRUE(leaf->IsOwnVisible());
  outer->SetVisible(true);
  EXPECT_TRUE(leaf->IsVisible());
}

TEST_F(LayoutTest, ShowingAChildAgainLaysTheRowOutAgain) {
  ASSERT_TRUE(Layout(u"<Window><HBox><Control name=\"a\" width=\"40\"/><Control name=\"b\"/></HBox></Window>",
                     {100, 10}));
  Find("a")->SetVisible(false);
  EXPECT_TRUE(window_->IsArrangeRequested());
  window_->Arrange({100, 10});
  EXPECT_EQ(PosOf("b"), "0,0,100,10");
  Find("a")->SetVisible(true);
  window_->Arrange({100, 10});
  EXPECT_EQ(PosOf("b"), "40,0,100,10");
}

TEST_F(LayoutTest, HitTestFindsTheTopmostChildOrTheBoxInItsPadding) {
  ASSERT_TRUE(Layout(u"<Window><Box name=\"box\" padding=\"10,10,10,10\"><Control name=\"a\"/>"
                     u"<Control name=\"b\" width=\"20\" height=\"20\"/></Box></Window>",
                     {100, 100}));
  auto hit = [this](UiPoint p) {
    return window_->GetRoot()->VisitControls([](Control* c, void*) -> Control* { return c; }, nullptr,
                                             kFindVisible | kFindHitTest | kFindTopFirst, p);
  };
  EXPECT_EQ(hit({15, 15}), Find("b"));
  EXPECT_EQ(hit({50, 50}), Find("a"));
  EXPECT_EQ(hit({5, 5}), Find("box"));
  EXPECT_EQ(hit({150, 5}), nullptr);
  Find("b")->SetMouseEnabled(false);
  EXPECT_EQ(hit({15, 15}), Find("a"));
}

}  // namespace
}  // namespace ui::testing
