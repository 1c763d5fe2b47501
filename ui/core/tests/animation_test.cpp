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

}  // namespace
}  // namespace ui::testing
