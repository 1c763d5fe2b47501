#include <cairo.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>

#include <cstdlib>
#include <set>
#include <string>

#include "ui/markup/utf.h"
#include "ui/render/font.h"
#include "ui/render/png_writer.h"
#include "ui/render/render_context_cairo.h"
#include "ui/render/tests/pixels.h"
#include "ui/render/text_engine.h"
#include "ui/resources/global_resources.h"

namespace ui {
namespace {

using testing::InkBounds;

constexpr uint32_t kBlack = 0xFF000000;

class TextTest : public ::testing::Test {
 protected:
  TextTest() : font_(Font::Create(kSystemUiFontFace, 20)) { context_.Resize(300, 120); }
  void TearDown() override { GlobalResources::Instance().Reset(); }

  // Ink box of the text drawn alone into `rect`.
  UiRect Ink(const UiRect& rect, const std::u16string& text, uint32_t format, bool line_limit = false,
             const Font* font = nullptr) {
    context_.Clear();
    render_.DrawText(rect, text, kBlack, font ? font : font_.get(), format, 255, line_limit);
    return InkBounds(context_);
  }
  int LineHeight() { return render_.MeasureText(u"测试", font_.get(), kTextSingleLine, 0).bottom - 1; }

  std::unique_ptr<Font> font_;
  RenderContext_Cairo context_;
  IRenderContext& render_ = context_;  // the interface carries the default arguments
};

TEST_F(TextTest, FontsNeedAFaceAndASize) {
  EXPECT_EQ(Font::Create(u"", 12), nullptr);
  EXPECT_EQ(Font::Create(kSystemUiFontFace, 0), nullptr);
  auto font = Font::Create(kSystemUiFontFace, 14, true, true, true);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->face(), kSystemUiFontFace);
  EXPECT_EQ(font->pixel_size(), 14);
  EXPECT_TRUE(font->bold() && font->underline() && font->italic());
}

// Every glyph of the product's name, Latin letters included, comes from the
// one CJK sans face the program maps the UI face to.
TEST_F(TextTest, TheUiFaceDrawsLatinAndChineseFromOneCjkFace) {
  PangoLayout* layout = TextEngine::Get().NewLayout(u"Verimo图片转换器", *font_, true);
  std::set<std::string> families;
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    if (PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter)) {
      PangoFontDescription* description = pango_font_describe(run->item->analysis.font);
      families.insert(pango_font_description_get_family(description));
      pango_font_description_free(description);
    }
  } while (pango_layout_iter_next_run(iter));
  pango_layout_iter_free(iter);
  EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0);
  g_object_unref(layout);
  EXPECT_EQ(families, (std::set<std::string>{"Noto Sans CJK SC"}));

  // LUMORA_RENDER_SCREENSHOT=file.png keeps a picture of the label to look at.
  context_.Resize(240, 48);
  render_.FillRect({0, 0, 240, 48}, 0xFFFFFFFF);
  render_.DrawText({0, 0, 240, 48}, u"Verimo图片转换器", 0xFF333333, font_.get(),
                    kTextSingleLine | kTextCenter | kTextVCenter);
  if (const char* path = std::getenv("LUMORA_RENDER_SCREENSHOT")) {
    EXPECT_TRUE(WritePng(context_, path));
  }
}

TEST_F(TextTest, HorizontalPlacement) {
  const UiRect rect{50, 10, 250, 60};
  const uint32_t single = kTextSingleLine;
  const UiRect left = Ink(rect, u"测试测试", single);
  const UiRect center = Ink(rect, u"测试测试", single | kTextCenter);
  const UiRect right = Ink(rect, u"测试测试", single | kTextRight);
  ASSERT_FALSE(left.IsEmpty());
  EXPECT_NEAR(left.left, rect.left, 3);
  EXPECT_NEAR(right.right, rect.right, 3);
  EXPECT_NEAR((center.left + center.right) / 2.0, (rect.left + rect.right) / 2.0, 1.5);
  EXPECT_EQ(center.Width(), left.Width());
  // Centre wins over right.
  EXPECT_EQ(Ink(rect, u"测试测试", single | kTextCenter | kTextRight), center);
}

TEST_F(TextTest, VerticalPlacement) {
  const UiRect rect{10, 10, 200, 110};
  const int line = LineHeight();
  const UiRect top = Ink(rect, u"测试", kTextSingleLine);
  const UiRect vcenter = Ink(rect, u"测试", kTextSingleLine | kTextVCenter);
  const UiRect bottom = Ink(rect, u"测试", kTextSingleLine | kTextBottom);
  ASSERT_FALSE(top.IsEmpty());
  EXPECT_NEAR(vcenter.top - top.top, (rect.Height() - line) / 2.0, 1.5);
  EXPECT_NEAR(bottom.top - top.top, rect.Height() - line, 1.5);
  // Vertical centre wins over bottom.
  EXPECT_EQ(Ink(rect, u"测试", kTextSingleLine | kTextVCenter | kTextBottom), vcenter);
}

TEST_F(TextTest, TheOldSongFaceSitsOnePixelLowerWhenCentred) {
  // The same face under its own name and under the old UI name.
  auto song = Font::Create(kSimSunFontFace, 16);
  auto same_face = Font::Create(u"Noto Serif CJK SC", 16);
  const uint32_t format = kTextSingleLine | kTextVCenter;
  EXPECT_EQ(Ink({0, 0, 100, 40}, u"测试", format, false, song.get()).top,
            Ink({0, 0, 100, 40}, u"测试", format, false, same_face.get()).top + 1);
  // Not when the rectangle is lower than the size + 2, nor without centring.
  EXPECT_EQ(Ink({0, 0, 100, 17}, u"测试", format, false, song.get()),
            Ink({0, 0, 100, 17}, u"测试", format, false, same_face.get()));
  EXPECT_EQ(Ink({0, 0, 100, 40}, u"测试", kTextSingleLine, false, song.get()),
            Ink({0, 0, 100, 40}, u"测试", kTextSingleLine, false, same_face.get()));
}

TEST_F(TextTest, OpacityIsTheColoursAlphaTimesAlphaAnd255DrawsAs254) {
  auto big = Font::Create(kSystemUiFontFace, 48);
  struct Case {
    uint32_t argb;
    uint8_t alpha;
    int max_alpha;
  } cases[] = {{0xFF000000, 255, 254}, {0x80000000, 128, 64}, {0xFF000000, 100, 100}, {0x00000000, 255, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max_alpha);
    context_.Clear();
    render_.DrawText({0, 0, 300, 120}, u"一二三", c.argb, big.get(), kTextSingleLine, c.alpha);
    int max_alpha = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 300; ++x) max_alpha = std::max(max_alpha, testing::AlphaAt(context_, x, y));
    EXPECT_EQ(max_alpha, c.max_alpha);
  }
}

TEST_F(TextTest, EndEllipsisClipAndNoClip) {
  const std::u16string text = u"测试测试测试测试测试测试";  // about 240 pixels
  const UiRect rect{10, 10, 110, 60};
  const UiRect cut = Ink(rect, text, kTextSingleLine);
  const UiRect ellipsis = Ink(rect, text, kTextSingleLine | kTextEndEllipsis);
  const UiRect spill = Ink(rect, text, kTextSingleLine | kTextNoClip);
  EXPECT_LE(cut.right, rect.right);  // clipped at the edge
  EXPECT_GE(cut.right, rect.right - 2);
  EXPECT_LT(ellipsis.right, rect.right);
  EXPECT_GT(ellipsis.right, rect.right - 20);
  EXPECT_GT(spill.right, 200);
  EXPECT_GT(ellipsis.Width(), 60);
}

TEST_F(TextTest, SingleLineAndWrapping) {
  const UiRect rect{0, 0, 100, 120};
  const int line = LineHeight();
  const UiRect one = Ink(rect, u"测试测试测试测试", kTextSingleLine);
  const UiRect wrapped = Ink(rect, u"测试测试测试测试", 0);  // 160 pixels in 100
  const UiRect broken = Ink(rect, u"测试\n测试", 0);
  const UiRect kept = Ink(rect, u"测试\n测试", kTextSingleLine);
  EXPECT_LT(one.Height(), line);
  EXPECT_GT(wrapped.Height(), line);
  EXPECT_LE(wrapped.right, 100);
  EXPECT_GT(broken.Height(), line);
  EXPECT_LT(kept.Height(), line);
  EXPECT_GT(kept.Width(), 80);  // both words on one line
}

TEST_F(TextTest, LineLimitShowsOnlyWholeLines) {
  const int line = LineHeight();
  const UiRect rect{0, 0, 100, line * 2 + line / 2};  // room for two and a half lines
  const std::u16string text = u"测试测试测试测试测试测试测试";  // three lines at 100 pixels
  const UiRect limited = Ink(rect, text, 0, true);
  const UiRect partial = Ink(rect, text, 0, false);
  EXPECT_LE(limited.bottom, line * 2);
  EXPECT_GT(partial.bottom, line * 2);
  // Nothing fits whole: nothing is shown.
  EXPECT_TRUE(Ink({0, 0, 100, line / 2}, text, 0, true).IsEmpty());
}

TEST_F(TextTest, MeasureTextRules) {
  const int line = LineHeight();
  ASSERT_GT(line, 20);
  // Two ideographs of 20 pixels: 40 wide, + 1.
  EXPECT_EQ(render_.MeasureText(u"测试", font_.get(), kTextSingleLine, -1), (UiRect{0, 0, 41, line + 1}));
  // 0 is unbounded like -1.
  const std::u16string text = u"测试测试测试测试";
  EXPECT_EQ(render_.MeasureText(text, font_.get(), kTextSingleLine, 0),
            render_.MeasureText(text, font_.get(), kTextSingleLine, -1));
  EXPECT_EQ(render_.MeasureText(text, font_.get(), 0, 0).right, 161);
  // Multi-line text wraps at the limit; single-line text is cut to it.
  const UiRect wrapped = render_.MeasureText(text, font_.get(), 0, 100);
  EXPECT_LE(wrapped.right, 101);
  EXPECT_GE(wrapped.bottom, 2 * line + 1);
  EXPECT_EQ(render_.MeasureText(text, font_.get(), kTextSingleLine, 100), (UiRect{0, 0, 101, line + 1}));
  // Single-line text is at most one line of the sample high.
  EXPECT_EQ(render_.MeasureText(u"测试\n测试", font_.get(), kTextSingleLine, 0).bottom, line + 1);
  EXPECT_GT(render_.MeasureText(u"测试\n测试", font_.get(), 0, 0).bottom, 2 * line);
}

TEST_F(TextTest, FontIndexComesFromTheGlobalTable) {
  GlobalResources& resources = GlobalResources::Instance();
  ASSERT_TRUE(resources.RegisterFont(u"system", 20, false, false, false));
  EXPECT_EQ(render_.MeasureText(u"测试", 0, kTextSingleLine, -1).right, 41);
  context_.Clear();
  render_.DrawText({0, 0, 300, 120}, u"测试", kBlack, 0, kTextSingleLine);
  const UiRect by_index = InkBounds(context_);
  EXPECT_EQ(by_index, Ink({0, 0, 300, 120}, u"测试", kTextSingleLine));
  // An index outside the table draws with the default font; empty text draws nothing.
  context_.Clear();
  render_.DrawText({0, 0, 300, 120}, u"测试", kBlack, 7, kTextSingleLine);
  EXPECT_FALSE(InkBounds(context_).IsEmpty());
  EXPECT_TRUE(Ink({0, 0, 300, 120}, u"", kTextSingleLine).IsEmpty());
}

}  // namespace
}  // namespace ui
