#include "ui/core/attribute_value.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/builder/tests/skin_fixture.h"
#include "ui/core/image_spec.h"

namespace ui::testing {
namespace {

TEST(AttributeValueTest, IntegersAreLenient) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"42", 42}, {u"  -7px", -7}, {u"+3", 3}, {u"", 0}, {u"abc", 0}, {u"-", 0}, {u"99999999999", 2147483647},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(expected);
    EXPECT_EQ(ParseInt(text), expected);
  }
}

TEST(AttributeValueTest, FramesTakeOneSeparatorOfAnyKindAndStopAtTheEnd) {
  EXPECT_EQ(ParseFrame(u"1,2,3,4"), (UiRect{1, 2, 3, 4}));
  EXPECT_EQ(ParseFrame(u"1;2x3 4"), (UiRect{1, 2, 3, 4}));
  EXPECT_EQ(ParseFrame(u"5,6"), (UiRect{5, 6, 0, 0}));  // no reading past the end
  EXPECT_EQ(ParseFrame(u"1,,3,4"), (UiRect{1, 0, 3, 4}));  // an empty number reads 0 and consumes nothing
  EXPECT_EQ(ParsePair(u"600,400"), (UiSize{600, 400}));
  EXPECT_TRUE(ParseBool(u"true"));
  EXPECT_FALSE(ParseBool(u"True"));
}

TEST(AttributeValueTest, AttributeListsNeedExactlyOneBlankBetweenItems) {
  auto collect = [](std::u16string_view list) {
    std::vector<std::u16string> out;
    ForEachAttribute(list, [&out](std::u16string_view n, std::u16string_view v) {
      out.push_back(std::u16string(n) + u"=" + std::u16string(v));
    });
    return out;
  };
  EXPECT_EQ(collect(u"font=\"2\" height=\"34\""), (std::vector<std::u16string>{u"font=2", u"height=34"}));
  // A second blank becomes part of the next name; a missing quote ends the list.
  EXPECT_EQ(collect(u"a=\"1\"  b=\"2\""), (std::vector<std::u16string>{u"a=1", u" b=2"}));
  EXPECT_EQ(collect(u"a=\"1\"b=\"2\""), (std::vector<std::u16string>{u"a=1"}));
  EXPECT_EQ(collect(u"a= \"1\""), (std::vector<std::u16string>{}));
  EXPECT_EQ(collect(u"a=\"1"), (std::vector<std::u16string>{}));
  EXPECT_EQ(collect(u"a=\"\" "), (std::vector<std::u16string>{u"a="}));
}

class ImageSpecTest : public SkinFixture {};

TEST_F(ImageSpecTest, BareFileNameAndItems) {
  ImageSpec spec;
  spec.SetImageString(u"../public/progress/progress_blue_bg.png");
  EXPECT_EQ(spec.file_name, u"../public/progress/progress_blue_bg.png");
  EXPECT_FALSE(spec.HasDest());

  spec.SetImageString(u"file='a.png' source='1,2,3,4' corner='8,8,8,8' fade='80' xtiled='true' playcount='2' "
                      u"bogus='x' res=''");
  EXPECT_EQ(spec.file_name, u"a.png");
  EXPECT_EQ(spec.source, (UiRect{1, 2, 3, 4}));
  EXPECT_EQ(spec.corner, (UiRect{8, 8, 8, 8}));
  EXPECT_EQ(spec.fade, 80);
  EXPECT_TRUE(spec.xtiled);
  EXPECT_FALSE(spec.ytiled);
  EXPECT_EQ(spec.play_count, 2);

  spec.SetImageString(u"file='b.png' fade='300'");
  EXPECT_EQ(spec.fade, 44);  // kept in 8 bits
  EXPECT_EQ(spec.corner, (UiRect{}));  // reset before the items

  spec.SetImageString(u"file='c.png' fade='10 corner='1,1,1,1'");
  EXPECT_EQ(spec.file_name, u"c.png");
  EXPECT_EQ(spec.fade, 10);  // "10 corner=" up to the next quote, then the list ends
}

TEST_F(ImageSpecTest, DestIsScaledUnlessDestscaleIsFalseBeforeIt) {
  SetScale(150);
  ImageSpec spec;
  spec.SetImageString(u"file='x.png' dest='4,4,16,16'");
  EXPECT_EQ(spec.dest, (UiRect{6, 6, 24, 24}));
  spec.SetImageString(u"file='x.png' destscale='false' dest='4,4,16,16'");
  EXPECT_EQ(spec.dest, (UiRect{4, 4, 16, 16}));
  spec.SetImageString(u"file='x.png' dest='4,4,16,16' destscale='false'");
  EXPECT_EQ(spec.dest, (UiRect{6, 6, 24, 24}));
  spec.SetImageString(u"file='x.png' source='4,4,16,16'");
  EXPECT_EQ(spec.source, (UiRect{4, 4, 16, 16}));  // picture pixels stay as written
}

}  // namespace
}  // namespace ui::testing
