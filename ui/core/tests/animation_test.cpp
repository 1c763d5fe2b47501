#include "ui/core/animation_player.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/messages/tests/watchdog.h"
#include "tasks/message_loop.h"
#include "tasks/tests/test_loops.h"
#include "tasks/time_delta.h"
#include "ui/builder/tests/skin_fixture.h"
#include "ui/render/render_context.h"

namespace ui::testing {
namespace {

TEST(AnimationPlayerTest, EasesFromStartToEndAndBack) {
  EXPECT_DOUBLE_EQ(AnimationPlayer::Ease(0), 0);
  EXPECT_DOUBLE_EQ(AnimationPlayer::Ease(1), 1);
  double last = 0;
  for (int i = 1; i <= 10; ++i) {
    const double v = AnimationPlayer::Ease(i / 10.0);
    EXPECT_GT(v, last);
    last = v;
  }
}

// The fades run on the UI timer service: a real window-message loop on this thread.
class FadeTest : public SkinFixture {
 protected:
  void TearDown() override {
    loop_.reset();
    SkinFixture::TearDown();
  }

  template <typename Done>
  void RunUntil(Done done) {
    std::function<void()> check = [&] {
      if (done()) {
        nbase::MessageLoop::current()->Quit();
      } else {
        loop_->PostDelayedTask(check, nbase::TimeDelta::FromMilliseconds(5));
      }
    };
    loop_->PostTask(check);
    loop_->Run();
  }

  Watchdog watchdog_;
  std::unique_ptr<nbase::UIMessageLoop> loop_ = nbase::MakeUILoop();
};

TEST_F(FadeTest, HotFadeRunsForwardOnEnterAndBackwardOnLeave) {
  Res().RegisterColor(u"hot", 0xff00ff00);
  ASSERT_TRUE(Layout(u"<Window><HBox><Control name=\"c\" hotcolor=\"hot\"/></HBox></Window>", {10, 10}));
  Control* c = Find("c");
  ASSERT_TRUE(c->IsHotFadeOn());
  std::vector<int> seen;
  window_->SetNewHoverControl(c);
  window_->SendNotify(c, EventType::kMouseEnter);
  RunUntil([&] {
    seen.push_back(c->GetHotAlpha());
    return c->GetHotAlpha() == 255;
  });
  EXPECT_EQ(c->GetState(), ControlState::Hot);
  EXPECT_GT(seen.size(), 2u);  // reached in steps
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);

  window_->SetNewHoverControl(nullptr);
  window_->SendNotify(c, EventType::kMouseLeave);
  RunUntil([&] { return c->GetHotAlpha() == 0; });
  EXPECT_EQ(c->GetState(), ControlState::Normal);
}

TEST_F(FadeTest, FadingOutHidesAtTheEndAndADestroyedControlStopsQuietly) {
  ASSERT_TRUE(Layout(u"<Window><HBox name=\"row\"><Control name=\"c\" fadealpha=\"true\"/><Control name=\"d\" "
                     u"fadealpha=\"true\"/></HBox></Window>",
                     {10, 10}));
  Control* c = Find("c");
  c->SetFadeVisible(false);
  EXPECT_TRUE(c->IsVisible());  // still fading
  RunUntil([&] { return !c->IsVisible(); });
  EXPECT_EQ(c->GetAlpha(), 0);
  c->SetFadeVisible(true);
  EXPECT_TRUE(c->IsVisible());
  EXPECT_EQ(c->GetAlpha(), 0);
  RunUntil([&] { return c->GetAlpha() == 255; });

  // Showing again while a fade-out runs turns it back: the control stays.
  c->SetFadeVisible(false);
  RunUntil([&] { return c->GetAlpha() < 200; });
  c->SetFadeVisible(true);
  RunUntil([&] { return c->GetAlpha() == 255; });
  EXPECT_TRUE(c->IsVisible());

  // A fade whose control goes away: its timer is bound to the control and stops.
  Box* row = static_cast<Box*>(Find("row"));
  row->SetDelayedDestroy(false);
  Find("d")->SetFadeVisible(false);
  row->RemoveChild(Find("d"));
  int polls = 0;
  RunUntil([&] { return ++polls > 40; });
  EXPECT_EQ(row->GetCount(), 1u);
}

TEST_F(FadeTest, AnAnimatedBackgroundPlaysItsFramesAsOftenAsAsked) {
  // Two 2 x 2 frames of 20 ms, red then green.
  static const unsigned char kGif[] = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x02, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x21, 0xf9, 0x04, 0x00, 0x02, 0x00, 0x00, 0x00, 0x21, 0xff, 0x0b, 0x4e, 0x45, 0x54, 0x53, 0x43, 0x41,
      0x50, 0x45, 0x32, 0x2e, 0x30, 0x03, 0x01, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02,
      0x00, 0x00, 0x02, 0x02, 0x84, 0x51, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x02, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
      0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x80, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x02, 0x02, 0x84, 0x51, 0x00,
      0x3b};
  WriteThemeFile("anim.gif", std::string(reinterpret_cast<const char*>(kGif), sizeof kGif));
  ASSERT_TRUE(Layout(u"<Window><Control name=\"c\" bkimage=\"file='anim.gif' playcount='1'\"/></Window>", {2, 2}));
  auto canvas = Res().RenderFactory()->CreateRenderContext();
  auto paint = [&] {
    canvas->Resize(2, 2);
    canvas->Clear();
    window_->Paint(canvas.get(), {0, 0, 2, 2});
    const uint8_t* p = canvas->GetBits();
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  };
  const ControlImage& bk = Find("c")->GetBkImage();
  EXPECT_EQ(paint(), 0u);  // the first paint starts the animation
  EXPECT_TRUE(bk.playing);
  RunUntil([&] { return bk.played >= 1; });
  EXPECT_EQ(bk.current_frame, 1);  // played once: it stays on the last frame
  EXPECT_EQ(paint(), 0xff00ff00u);
  int polls = 0;
  RunUntil([&] { return ++polls > 10; });
  EXPECT_EQ(bk.played, 1);
}

}  // namespace
}  // namespace ui::testing
