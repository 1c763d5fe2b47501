#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ui/builder/tests/skin_fixture.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/label.h"
#include "ui/controls/option.h"
#include "ui/controls/progress.h"
#include "ui/render/render_context.h"

namespace ui::testing {
namespace {

class ControlsTest : public SkinFixture {
 protected:
  void SetUp() override {
    SkinFixture::SetUp();
    ASSERT_TRUE(Res().RegisterFont(u"system", 14, false, false, false));
    ASSERT_TRUE(Res().RegisterFont(u"system", 14, false, false, false));
  }

  UiSize TextSize(const std::u16string& text, uint32_t format = kTextSingleLine) {
    auto canvas = Res().RenderFactory()->CreateRenderContext();
    const UiRect r = canvas->MeasureText(text, 1, format, 0);
    return {r.Width(), r.Height()};
  }

  EventCallback Log(const std::string& what) {
    return [this, what](EventArgs*) {
      log_.push_back(what);
      return true;
    };
  }

  std::vector<std::string> log_;
};

TEST_F(ControlsTest, AnAutoLabelIsItsTextPlusPadding) {
  ASSERT_TRUE(Layout(u"<Window><HBox><Label name=\"l\" text=\"Hello\" textpadding=\"3,2,5,4\"/>"
                     u"<Label name=\"empty\"/></HBox></Window>",
                     {300, 100}));
  const UiSize text = TextSize(u"Hello");
  ASSERT_GT(text.cx, 10);
  const UiRect pos = Find("l")->Pos();
  EXPECT_EQ(pos.Width(), text.cx + 8);
  EXPECT_EQ(pos.Height(), text.cy + 6);
  EXPECT_EQ(Find("empty")->Pos().Width(), 0);
  EXPECT_EQ(Find("empty")->Pos().Height(), 0);
}

TEST_F(ControlsTest, AMultiLineAutoLabelWrapsToTheRoomItIsGiven) {
  const std::u16string text = u"many words that will not fit on one line of forty pixels";
  ASSERT_TRUE(Layout(u"<Window><Box><Label name=\"l\" singleline=\"false\" maxwidth=\"stretch\" text=\"" + text + u"\"/></Box></Window>",
                     {60, 400}));
  const UiRect pos = Find("l")->Pos();
  EXPECT_LE(pos.Width(), 60);
  EXPECT_GT(pos.Height(), TextSize(text).cy * 2);
}

TEST_F(ControlsTest, AlignWordsSetTheFormatFlags) {
  Label label;
  label.SetAttribute(u"align", u"vcenter");
  EXPECT_EQ(label.GetTextStyle() & (kTextCenter | kTextVCenter), kTextCenter | kTextVCenter);
  label.SetAttribute(u"align", u"left");
  EXPECT_EQ(label.GetTextStyle() & (kTextCenter | kTextVCenter | kTextRight), 0u);
  label.SetAttribute(u"align", u"right");
  EXPECT_EQ(label.GetTextStyle() & (kTextCenter | kTextRight), kTextRight);
  label.SetAttribute(u"endellipsis", u"false");
  EXPECT_EQ(label.GetTextStyle() & kTextEndEllipsis, 0u);
  EXPECT_EQ(Button().GetTextStyle(), 0x8125u);
  EXPECT_EQ(Label().GetTextStyle(), 0x8120u);
  EXPECT_EQ(Progress().GetTextStyle(), 0x21u);
  EXPECT_EQ(Label().GetFixedWidth(), kSizeAuto);
  EXPECT_EQ(LabelBox().GetFixedWidth(), kSizeStretch);
}

TEST_F(ControlsTest, TextColoursFollowTheStateWithFallbacks) {
  Res().RegisterColor(u"textdefaultcolor", 0xff333333);
  Res().RegisterColor(u"blue", 0xff0000ff);
  ASSERT_TRUE(Layout(u"<Window><Label name=\"l\" text=\"██\" font=\"1\" width=\"40\" height=\"30\" "
                     u"hottextcolor=\"blue\" fadehot=\"false\"/></Window>",
                     {40, 30}));
  auto count_colour = [this](ControlState state, uint32_t argb) {
    Find("l")->SetState(state);
    auto canvas = Res().RenderFactory()->CreateRenderContext();
    canvas->Resize(40, 30);
    canvas->Clear();
    window_->Paint(canvas.get(), {0, 0, 40, 30});
    int n = 0;
    for (int y = 0; y < 30; ++y) {
      const uint8_t* row = canvas->GetBits() + y * canvas->GetStride();
      for (int x = 0; x < 40; ++x) {
        const uint32_t px = (uint32_t{row[x * 4 + 3]} << 24) | (uint32_t{row[x * 4 + 2]} << 16) |
                            (uint32_t{row[x * 4 + 1]} << 8) | row[x * 4];
        // Text is drawn at opacity 254 of 255: allow for the premultiplied rounding.
        bool same = (px >> 24) >= 0xf0;
        for (int shift = 0; shift < 24; shift += 8) {
          same = same && std::abs(static_cast<int>((px >> shift) & 0xff) - static_cast<int>((argb >> shift) & 0xff)) <= 3;
        }
        if (same) ++n;
      }
    }
    return n;
  };
  EXPECT_GT(count_colour(ControlState::Normal, 0xff333333), 0);
  EXPECT_GT(count_colour(ControlState::Pushed, 0xff0000ff), 0);  // pushed falls back to hot
  EXPECT_EQ(count_colour(ControlState::Pushed, 0xff333333), 0);
}

TEST_F(ControlsTest, ProgressRectangles) {
  struct Case {
    bool horizontal;
    int min, max;
    double value;
    UiRect pos;
    UiRect expected;
    int stored_max;
    double stored_value;
  } cases[] = {
      {true, 0, 100, 50, {0, 0, 420, 3}, {0, 0, 210, 3}, 100, 50},
      {false, 0, 100, 25, {0, 0, 8, 40}, {0, 30, 8, 40}, 100, 25},
      {true, 0, 100, 150, {0, 0, 420, 3}, {0, 0, 420, 3}, 100, 100},
      {true, 10, 10, 0, {0, 0, 100, 3}, {0, 0, 0, 3}, 11, 10},
      {true, 0, 3, 1, {0, 0, 100, 3}, {0, 0, 33, 3}, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Progress p;
    p.SetHorizontal(c.horizontal);
    p.SetMinValue(c.min);
    p.SetMaxValue(c.max);
    p.SetValue(c.value);
    p.SetPos(c.pos);
    EXPECT_EQ(p.GetProgressRect(), c.expected);
    EXPECT_EQ(p.GetMaxValue(), c.stored_max);
    EXPECT_EQ(p.GetValue(), c.stored_value);
  }
}

TEST_F(ControlsTest, ProgressPictureIsCutOrStretchedIntoTheFilledPart) {
  // Left half red, right half green: cut shows red only; stretched shows both.
  std::string bmp = SolidBmp(20, 2, 0xff0000);
  const std::string green = SolidBmp(20, 2, 0x00ff00);
  for (int y = 0; y < 2; ++y) {
    for (int x = 10; x < 20; ++x) {
      const size_t at = 54 + static_cast<size_t>(y * 60 + x * 3);
      bmp.replace(at, 3, green, at, 3);
    }
  }
  WriteThemeFile("bar.bmp", bmp);
  for (bool stretch : {false, true}) {
    SCOPED_TRACE(stretch);
    window_ = std::make_unique<HeadlessWindow>();
    ASSERT_TRUE(Layout(std::u16string(u"<Window><Progress name=\"p\" width=\"20\" height=\"2\" value=\"50\" "
                                      u"progressimage=\"bar.bmp\" isstretchfore=\"") +
                           (stretch ? u"true" : u"false") + u"\"/></Window>",
                       {20, 2}));
    auto canvas = Res().RenderFactory()->CreateRenderContext();
    canvas->Resize(20, 2);
    canvas->Clear();
    window_->Paint(canvas.get(), {0, 0, 20, 2});
    const uint8_t* row = canvas->GetBits();
    auto green_at = [row](int x) { return row[x * 4 + 1] > 200 && row[x * 4 + 2] < 50; };
    auto red_at = [row](int x) { return row[x * 4 + 2] > 200 && row[x * 4 + 1] < 50; };
    EXPECT_TRUE(red_at(1));
    EXPECT_EQ(green_at(8), stretch);
    EXPECT_EQ(row[15 * 4 + 3], 0);  // nothing past the filled part
    const std::u16string expected =
        stretch ? u"destscale='false' dest='0,0,10,2'" : u"destscale='false' dest='0,0,10,2' source='0,0,10,2'";
    EXPECT_EQ(static_cast<Progress*>(Find("p"))->GetProgressImageModifier(), expected);
  }
}

TEST_F(ControlsTest, OptionsOfAGroupExcludeEachOther) {
  ASSERT_TRUE(Layout(u"<Window><HBox name=\"row\"><Option name=\"a\" group=\"g\" width=\"10\" height=\"10\"/>"
                     u"<Option name=\"b\" group=\"g\" width=\"10\" height=\"10\"/>"
                     u"<Option name=\"c\" width=\"10\" height=\"10\"/></HBox></Window>",
                     {30, 10}));
  auto* a = static_cast<Option*>(Find("a"));
  auto* b = static_cast<Option*>(Find("b"));
  a->SetSelected(true, false);
  ASSERT_TRUE(a->IsSelected());
  for (const char* name : {"a", "b"}) {
    Control* c = Find(name);
    c->AttachEvent(EventType::kClick, Log(std::string(name) + ":click"));
    c->AttachEvent(EventType::kSelect, Log(std::string(name) + ":select"));
    c->AttachEvent(EventType::kUnSelect, Log(std::string(name) + ":unselect"));
  }
  window_->SetLastMousePos({15, 5});
  window_->SendNotify(b, EventType::kMouseButtonDown);
  window_->SendNotify(b, EventType::kMouseButtonUp);
  EXPECT_TRUE(b->IsSelected());
  EXPECT_FALSE(a->IsSelected());
  EXPECT_EQ(log_, (std::vector<std::string>{"b:click", "a:unselect", "b:select"}));

  // Clicking the selected option announces it again and never deselects it.
  log_.clear();
  window_->SendNotify(b, EventType::kMouseButtonDown);
  window_->SendNotify(b, EventType::kMouseButtonUp);
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(log_, (std::vector<std::string>{"b:click", "a:unselect", "b:select"}));

  // Without a group nothing else changes.
  static_cast<Option*>(Find("c"))->SetSelected(true);
  EXPECT_TRUE(b->IsSelected());
  // A member that goes leaves its group.
  static_cast<Box*>(Find("row"))->SetDelayedDestroy(false);
  static_cast<Box*>(Find("row"))->RemoveChild(a);
  EXPECT_EQ(window_->GetOptionGroup(u"g")->size(), 1u);
}

TEST_F(ControlsTest, CheckBoxesToggleAndAnnounce) {
  ASSERT_TRUE(Layout(u"<Window><HBox><CheckBox name=\"c\" selected=\"true\" width=\"10\" height=\"10\"/></HBox></Window>", {30, 10}));
  auto* c = static_cast<CheckBox*>(Find("c"));
  EXPECT_TRUE(c->IsSelected());  // selected while building
  c->AttachEvent(EventType::kUnSelect, Log("unselect"));
  c->AttachEvent(EventType::kClick, Log("click"));
  window_->SetLastMousePos({1, 1});
  window_->SendNotify(c, EventType::kMouseButtonDown);
  window_->SendNotify(c, EventType::kMouseButtonUp);
  EXPECT_FALSE(c->IsSelected());
  EXPECT_EQ(log_, (std::vector<std::string>{"unselect"}));  // a check box raises no click
}

TEST_F(ControlsTest, SpaceOrReturnActivatesAKeyboardEnabledButtonOnce) {
  ASSERT_TRUE(Layout(u"<Window><HBox><Button name=\"b\"/></HBox></Window>", {30, 10}));
  Control* b = Find("b");
  b->AttachEvent(EventType::kClick, Log("click"));
  EventArgs key = Control::MakeEvent(b, EventType::kKeyDown, {});
  key.key_char = u' ';
  b->DispatchEvent(key);
  EXPECT_EQ(log_.size(), 1u);
  key.key_char = u'a';
  b->DispatchEvent(key);
  b->SetKeyboardEnabled(false);
  key.key_char = u'\r';
  b->DispatchEvent(key);
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(ControlsTest, CheckBoxSizesFromItsSelectedPictureWhenItHasNoOther) {
  WriteThemeFile("check.bmp", SolidBmp(16, 12, 0x00ff00));
  ASSERT_TRUE(Layout(u"<Window><HBox><CheckBox name=\"c\" selectednormalimage=\"check.bmp\"/></HBox></Window>",
                     {100, 100}));
  EXPECT_EQ(PosOf("c"), "0,0,16,12");
}

}  // namespace
}  // namespace ui::testing
