#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ui/render/image_info.h"
#include "ui/render/render_factory_cairo.h"
#include "ui/render/tests/pixels.h"
#include "ui/resources/global_resources.h"

namespace ui {
namespace {

using testing::AlphaAt;
using testing::PixelAt;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

// An opaque picture whose pixel (x, y) is colour(x, y).
std::unique_ptr<ImageFrame> MakeFrame(int width, int height, const std::function<uint32_t(int, int)>& colour) {
  auto frame = ImageFrame::Create(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(frame->data() + y * frame->stride());
    for (int x = 0; x < width; ++x) row[x] = colour(x, y);
  }
  frame->MarkDirty();
  return frame;
}

class RenderContextTest : public ::testing::Test {
 protected:
  void SetUp() override { Resize(40, 40); }
  void TearDown() override { GlobalResources::Instance().Reset(); }
  void Resize(int width, int height) {
    context_ = factory_.CreateRenderContext();
    context_->Resize(width, height);
  }
  void SetScale(int percent) {
    GlobalResources::Instance().Dpi().SetAware(true);
    GlobalResources::Instance().Dpi().SetScale(percent);
  }
  uint32_t At(int x, int y) { return PixelAt(*context_, x, y); }

  RenderFactory_Cairo factory_;
  std::unique_ptr<IRenderContext> context_;
};

TEST_F(RenderContextTest, ResizeKeepsPixelsOnlyForTheSameSize) {
  EXPECT_EQ(context_->GetSize(), (UiSize{40, 40}));
  context_->FillRect({0, 0, 40, 40}, kRed);
  EXPECT_FALSE(context_->Resize(40, 40));
  EXPECT_EQ(At(39, 39), kRed);
  // Bytes blue, green, red, alpha; rows from the top.
  const uint8_t* last_row = context_->GetBits() + 39 * context_->GetStride();
  EXPECT_EQ(last_row[0], 0);
  EXPECT_EQ(last_row[1], 0);
  EXPECT_EQ(last_row[2], 255);
  EXPECT_EQ(last_row[3], 255);
  EXPECT_TRUE(context_->Resize(30, 20));
  EXPECT_EQ(context_->GetSize(), (UiSize{30, 20}));
  EXPECT_GE(context_->GetStride(), 30 * 4);
  EXPECT_EQ(At(0, 0), 0u);
  EXPECT_EQ(At(29, 19), 0u);
}

TEST_F(RenderContextTest, FillRectScalesOnlyTheColoursAlpha) {
  struct Case {
    uint32_t argb;
    uint8_t alpha;
    uint32_t expected;  // premultiplied, over transparent
  } cases[] = {
      {kRed, 255, 0xFFFF0000},
      {kRed, 128, 0x80800000},         // 255 x 128 / 255 = 128
      {0x80FF0000, 128, 0x40400000},   // 128 x 128 / 255 = 64.25, truncated
      {0x80FF0000, 255, 0x80800000},
      {0x00FF0000, 255, 0},            // a colour of 0 alpha draws nothing
      {kRed, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.argb << " alpha " << std::dec << int(c.alpha));
    context_->Clear();
    context_->FillRect({2, 3, 6, 8}, c.argb, c.alpha);
    EXPECT_EQ(At(2, 3), c.expected);
    EXPECT_EQ(At(5, 7), c.expected);
    EXPECT_EQ(At(6, 7), 0u);
    EXPECT_EQ(At(5, 8), 0u);
  }
}

TEST_F(RenderContextTest, FillRectByColourName) {
  GlobalResources::Instance().RegisterColor(u"blue", kBlue);
  context_->FillRect({0, 0, 4, 4}, u"blue");
  EXPECT_EQ(At(3, 3), kBlue);
  context_->Clear();
  context_->FillRect({0, 0, 4, 4}, u"#ffffffff");  // not a registered name
  context_->FillRect({0, 0, 4, 4}, u"");
  EXPECT_EQ(At(0, 0), 0u);
}

TEST_F(RenderContextTest, LinesCoverTheirPixelsUpToTheFarEnd) {
  // A border of width 1 at x = left and of width 2 at y = top + 1.
  context_->DrawLine({5, 10}, {5, 20}, 1, kRed);
  EXPECT_EQ(At(5, 10), kRed);
  EXPECT_EQ(At(5, 19), kRed);
  EXPECT_EQ(At(5, 20), 0u);  // one short at the far end
  EXPECT_EQ(At(4, 15), 0u);
  EXPECT_EQ(At(6, 15), 0u);
  context_->DrawLine({10, 31}, {20, 31}, 2, kBlue);
  EXPECT_EQ(At(10, 30), kBlue);
  EXPECT_EQ(At(19, 31), kBlue);
  EXPECT_EQ(At(15, 29), 0u);
  EXPECT_EQ(At(15, 32), 0u);
}

TEST_F(RenderContextTest, RectangleOutlinesOnlyTheBorderPixels) {
  for (int width : {1, 2, 3}) {
    SCOPED_TRACE(width);
    context_->Clear();
    // A control at (10, 10, 30, 30) with a uniform border of `width`: inset by
    // width / 2, and one more on the right and bottom for odd widths.
    const int odd = width % 2;
    context_->DrawRect({10 + width / 2, 10 + width / 2, 30 - width / 2 - odd, 30 - width / 2 - odd}, width, kRed);
    for (int i = 0; i < width; ++i) {
      EXPECT_EQ(At(10 + i, 20), kRed);
      EXPECT_EQ(At(29 - i, 20), kRed);
      EXPECT_EQ(At(20, 10 + i), kRed);
      EXPECT_EQ(At(20, 29 - i), kRed);
    }
    EXPECT_EQ(At(9, 20), 0u);
    EXPECT_EQ(At(30, 20), 0u);
    EXPECT_EQ(At(20, 30), 0u);
    EXPECT_EQ(At(10 + width, 20), 0u);
    EXPECT_EQ(At(29 - width, 20), 0u);
  }
}

// A 12 x 12 picture cut by a corner of 4 into nine solid pieces.
class NineGridTest : public RenderContextTest {
 protected:
  static constexpr uint32_t kPiece[3][3] = {{0xFF110000, 0xFF220000, 0xFF330000},
                                            {0xFF440000, 0xFF550000, 0xFF660000},
                                            {0xFF770000, 0xFF880000, 0xFF990000}};
  NineGridTest() {
    picture_ = MakeFrame(12, 12, [](int x, int y) { return kPiece[y / 4][x / 4]; });
  }
  void Draw(const UiRect& paint, const UiRect& dest, uint8_t fade = 255) {
    context_->DrawImage(paint, picture_.get(), false, dest, {0, 0, 12, 12}, {4, 4, 4, 4}, fade);
  }
  // Checks that every piece fills exactly its part of `dest` with the given
  // scaled corner size: the first and last pixels of each part on both axes.
  void ExpectGrid(const UiRect& dest, int corner) {
    const int xs[4] = {dest.left, dest.left + corner, dest.right - corner, dest.right};
    const int ys[4] = {dest.top, dest.top + corner, dest.bottom - corner, dest.bottom};
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        SCOPED_TRACE(::testing::Message() << "piece " << row << "," << col);
        for (int x : {xs[col], xs[col + 1] - 1})
          for (int y : {ys[row], ys[row + 1] - 1}) EXPECT_EQ(At(x, y), kPiece[row][col]) << x << "," << y;
      }
    }
    EXPECT_EQ(At(dest.left - 1, dest.top), 0u);
    EXPECT_EQ(At(dest.right, dest.bottom - 1), 0u);
  }
  std::unique_ptr<ImageFrame> picture_;
};

TEST_F(NineGridTest, EachPieceLandsInItsPart) {
  Draw({0, 0, 40, 40}, {3, 5, 33, 37});
  ExpectGrid({3, 5, 33, 37}, 4);
}

TEST_F(NineGridTest, CornersAreScaledAt150Percent) {
  SetScale(150);
  Draw({0, 0, 40, 40}, {2, 2, 38, 38});
  ExpectGrid({2, 2, 38, 38}, 6);
}

TEST_F(NineGridTest, OnlyPiecesMeetingThePaintRectAreDrawn) {
  // The paint rectangle touches the top-left corner piece only.
  Draw({0, 0, 5, 5}, {2, 2, 38, 38});
  EXPECT_EQ(At(2, 2), kPiece[0][0]);
  EXPECT_EQ(At(5, 5), kPiece[0][0]);
  EXPECT_EQ(At(6, 2), 0u);   // top edge not drawn
  EXPECT_EQ(At(20, 20), 0u);  // middle not drawn
  // A dest away from the paint rectangle draws nothing at all.
  context_->Clear();
  Draw({0, 0, 10, 10}, {20, 20, 38, 38});
  EXPECT_TRUE(testing::InkBounds(*context_).IsEmpty());
}

TEST_F(NineGridTest, FadeSetsTheOpacity) {
  Draw({0, 0, 40, 40}, {0, 0, 12, 12}, 80);
  EXPECT_EQ(AlphaAt(*context_, 0, 0), 80);
  EXPECT_EQ(AlphaAt(*context_, 6, 6), 80);
  context_->Clear();
  Draw({0, 0, 40, 40}, {0, 0, 12, 12}, 0);
  EXPECT_EQ(At(6, 6), 0u);
}

TEST_F(RenderContextTest, SourcePartIsStretchedIntoDest) {
  auto picture = MakeFrame(4, 2, [](int x, int) { return x < 2 ? kRed : kBlue; });
  // Only the right half (blue), stretched to 10 x 10.
  context_->DrawImage({0, 0, 40, 40}, picture.get(), false, {5, 5, 15, 15}, {2, 0, 4, 2}, {});
  EXPECT_EQ(At(5, 5), kBlue);
  EXPECT_EQ(At(14, 14), kBlue);
  EXPECT_EQ(At(15, 15), 0u);
}

TEST_F(RenderContextTest, MiddleTiling) {
  // A 2 x 2 middle of four colours inside a 1-pixel frame of black.
  const uint32_t cell[2][2] = {{kRed, kGreen}, {kBlue, 0xFFFFFFFF}};
  auto picture = MakeFrame(4, 4, [&](int x, int y) {
    if (x == 0 || y == 0 || x == 3 || y == 3) return 0xFF000000u;
    return cell[y - 1][x - 1];
  });
  const UiRect dest{0, 0, 9, 9};  // middle (1, 1, 8, 8): 7 x 7, so the last tile is cut
  struct Case {
    bool xtiled, ytiled;
    std::function<uint32_t(int, int)> expected;  // at middle pixel (mx, my)
  } cases[] = {
      // 1:1 tiles from the middle's top-left corner.
      {true, true, [&](int mx, int my) { return cell[my % 2][mx % 2]; }},
      // Columns 2 wide, each stretched over the full height (7 pixels from 2).
      {true, false, [&](int mx, int my) { return cell[my < 3 ? 0 : my > 3 ? 1 : -1][mx % 2]; }},
      // Rows 2 high, each stretched over the full width.
      {false, true, [&](int mx, int my) { return cell[my % 2][mx < 3 ? 0 : mx > 3 ? 1 : -1]; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "xtiled " << c.xtiled << " ytiled " << c.ytiled);
    context_->Clear();
    context_->DrawImage({0, 0, 40, 40}, picture.get(), false, dest, {0, 0, 4, 4}, {1, 1, 1, 1}, 255, c.xtiled,
                        c.ytiled);
    for (int my = 0; my < 7; ++my) {
      for (int mx = 0; mx < 7; ++mx) {
        // Skip the blended pixels where a stretch crosses between two colours.
        if ((!c.ytiled && my >= 2 && my <= 4) || (!c.xtiled && mx >= 2 && mx <= 4)) continue;
        EXPECT_EQ(At(1 + mx, 1 + my), c.expected(mx, my)) << mx << "," << my;
      }
    }
    EXPECT_EQ(At(0, 0), 0xFF000000u);
    EXPECT_EQ(At(8, 8), 0xFF000000u);
    EXPECT_EQ(At(9, 4), 0u);
  }
}

TEST_F(RenderContextTest, ClipsNestAndRestore) {
  {
    AutoClip outer(context_.get(), {0, 0, 20, 20});
    {
      AutoClip inner(context_.get(), {10, 10, 30, 30});
      context_->FillRect({0, 0, 40, 40}, kRed);
    }
    context_->FillRect({0, 0, 40, 40}, 0x80000000, 255);
  }
  context_->FillRect({35, 35, 40, 40}, kBlue);
  EXPECT_EQ(At(15, 15), 0xFF7F0000u);     // red under half-transparent black
  EXPECT_EQ(At(25, 25), 0u);                // only inside the intersection
  EXPECT_EQ(At(5, 5), 0x80000000u);         // outer clip alone
  EXPECT_EQ(At(25, 5), 0u);
  EXPECT_EQ(At(36, 36), kBlue);             // no clip left
}

TEST_F(RenderContextTest, RoundClipCutsTheCorners) {
  {
    AutoClip clip(context_.get(), {0, 0, 40, 40}, 20, 20);
    context_->FillRect({0, 0, 40, 40}, kRed);
  }
  EXPECT_EQ(At(0, 0), 0u);
  EXPECT_EQ(At(39, 39), 0u);
  EXPECT_EQ(At(1, 1), 0u);
  EXPECT_EQ(At(20, 20), kRed);
  EXPECT_EQ(At(20, 0), kRed);  // straight edges stay
  EXPECT_EQ(At(0, 20), kRed);
  EXPECT_EQ(At(10, 10), kRed);  // inside the rounding
  // A conditional scope that does nothing.
  { AutoClip none(context_.get(), {0, 0, 1, 1}, false); }
  context_->FillRect({0, 0, 1, 1}, kBlue);
  EXPECT_EQ(At(0, 0), kBlue);
}

TEST_F(RenderContextTest, OriginOffsetsAddUpAndClipsStayOnTheDevice) {
  {
    AutoOrigin first(context_.get(), {10, 5});
    AutoOrigin second(context_.get(), {2, 2});
    EXPECT_EQ(context_->GetOrigin(), (UiPoint{12, 7}));
    context_->FillRect({12, 7, 14, 9}, kRed);  // lands at device (0, 0)
  }
  EXPECT_EQ(context_->GetOrigin(), (UiPoint{}));
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(1, 1), kRed);
  EXPECT_EQ(At(2, 2), 0u);

  context_->Clear();
  // Clip first, then move the origin (the window paints this way).
  AutoClip clip(context_.get(), {20, 20, 30, 30});
  {
    AutoOrigin offset(context_.get(), {-5, -5});
    context_->FillRect({10, 10, 40, 40}, kBlue);  // device (15, 15) on
  }
  EXPECT_EQ(At(19, 19), 0u);
  EXPECT_EQ(At(20, 20), kBlue);
  EXPECT_EQ(At(29, 29), kBlue);
  EXPECT_EQ(At(30, 30), 0u);
}

TEST_F(RenderContextTest, OffscreenTargetBlendsAtAPlaceWithAlpha) {
  auto offscreen = factory_.CreateRenderContext();
  EXPECT_EQ(offscreen->GetSize(), (UiSize{0, 0}));
  EXPECT_TRUE(offscreen->Resize(4, 3));
  offscreen->FillRect({0, 0, 4, 3}, kRed);
  offscreen->FillRect({0, 0, 1, 1}, 0x80000080);
  {
    AutoOrigin origin(context_.get(), {10, 10});  // logical place (12, 13) is device (2, 3)
    context_->AlphaBlend(*offscreen, {12, 13}, 128);
  }
  EXPECT_EQ(At(3, 3), 0x80800000u);  // red at half opacity
  EXPECT_EQ(At(5, 5), 0x80800000u);
  EXPECT_EQ(At(6, 5), 0u);
  EXPECT_EQ(At(5, 6), 0u);
  EXPECT_EQ(At(1, 3), 0u);
  // The translucent corner pixel was blended onto red in the target, so it is
  // opaque there, then halved.
  EXPECT_EQ(AlphaAt(*context_, 2, 3), 128);
  context_->Clear();
  context_->AlphaBlend(*offscreen, {0, 0});
  EXPECT_EQ(At(3, 2), kRed);
}

TEST_F(RenderContextTest, ClearRectAndRestoreAlpha) {
  context_->FillRect({0, 0, 40, 40}, 0x80000000);
  context_->ClearRect({-5, -5, 10, 10});
  EXPECT_EQ(At(0, 0), 0u);
  EXPECT_EQ(At(9, 9), 0u);
  EXPECT_EQ(At(10, 9), 0x80000000u);

  // Restore the alpha of everything but 3 x 3 corner areas of the surface.
  context_->RestoreAlpha({0, 0, 40, 40}, {3, 3, 3, 3}, 0);
  EXPECT_EQ(At(0, 0), 0u);
  EXPECT_EQ(At(2, 2), 0u);
  EXPECT_EQ(At(3, 0), 0xFF000000u);  // inside the rect, outside the corner areas
  EXPECT_EQ(At(37, 37) >> 24, 0x80u);
  EXPECT_EQ(At(36, 37) >> 24, 0xFFu);
  EXPECT_EQ(At(20, 20) >> 24, 0xFFu);

  // A key alpha turns exactly matching pixels transparent.
  context_->Clear();
  context_->FillRect({0, 0, 2, 1}, 0x10000000);
  context_->RestoreAlpha({0, 0, 2, 2}, {}, 0x10);
  EXPECT_EQ(At(0, 0) >> 24, 0u);
  EXPECT_EQ(At(0, 1) >> 24, 0xFFu);
}

}  // namespace
}  // namespace ui
