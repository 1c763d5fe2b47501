#include "ui/core/control.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/builder/tests/skin_fixture.h"
#include "ui/core/box.h"
#include "ui/core/h_layout.h"
#include "ui/render/render_context.h"

namespace ui::testing {
namespace {

class ControlTest : public SkinFixture {
 protected:
  // A render context of the given size, cleared to transparent.
  std::unique_ptr<IRenderContext> Canvas(int w, int h) {
    auto canvas = Res().RenderFactory()->CreateRenderContext();
    canvas->Resize(w, h);
    canvas->Clear();
    return canvas;
  }

  // ARGB of a pixel (premultiplied, as stored).
  static uint32_t PixelAt(IRenderContext* canvas, int x, int y) {
    const uint8_t* p = canvas->GetBits() + y * canvas->GetStride() + x * 4;
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  }

  // Builds, lays out at w x h and paints the whole window.
  std::unique_ptr<IRenderContext> Render(const std::u16string& markup, int w, int h) {
    EXPECT_TRUE(Layout(markup, {w, h}));
    auto canvas = Canvas(w, h);
    window_->Paint(canvas.get(), {0, 0, w, h});
    return canvas;
  }
};

TEST_F(ControlTest, ClassAppliesWhereItStandsAmongTheAttributes) {
  Res().RegisterClassStyle(u"caption", u"height=\"34\" bkcolor=\"white\"");
  Control a;
  a.SetAttribute(u"class", u"caption");
  a.SetAttribute(u"height", u"50");
  EXPECT_EQ(a.GetFixedHeight(), 50);
  Control b;
  b.SetAttribute(u"height", u"50");
  b.SetAttribute(u"class", u"caption");
  EXPECT_EQ(b.GetFixedHeight(), 34);
  EXPECT_EQ(b.GetBkColor(), u"white");
}

TEST_F(ControlTest, ClassFallsBackToTheWindowsTable) {
  window_->AddClass(u"local", u"width=\"7\"");
  Control c;
  c.SetWindow(window_.get());
  c.SetAttribute(u"class", u"missing local");
  EXPECT_EQ(c.GetFixedWidth(), 7);
}

TEST_F(ControlTest, SizeAttributesAndTheirScaling) {
  SetScale(150);
  Control c;
  c.SetAttribute(u"width", u"auto");
  EXPECT_EQ(c.GetFixedWidth(), kSizeAuto);
  c.SetAttribute(u"width", u"20");
  EXPECT_EQ(c.GetFixedWidth(), 30);
  c.SetAttribute(u"width", u"-5");  // below -2: ignored
  EXPECT_EQ(c.GetFixedWidth(), 30);
  c.SetAttribute(u"maxwidth", u"stretch");  // the keyword goes through the scale too
  EXPECT_EQ(c.GetMaxWidth(), -2);
  c.SetAttribute(u"minheight", u"-4");
  EXPECT_EQ(c.GetMinHeight(), -1);
  c.SetAttribute(u"bordersize", u"0,1,0,1");
  EXPECT_EQ(c.GetBorderSizes(), (UiRect{0, 2, 0, 2}));
  c.SetAttribute(u"bordersize", u"2");
  EXPECT_EQ(c.GetBorderSize(), 3);
  EXPECT_EQ(c.GetBorderSizes(), (UiRect{}));
  c.SetAttribute(u"tooltiptext", u"one<n>two");
  EXPECT_EQ(c.GetToolTipText(), u"one\r\ntwo");
  c.SetAttribute(u"state", u"hot");
  EXPECT_EQ(c.GetState(), ControlState::Hot);
  EXPECT_EQ(c.GetHotAlpha(), 255);
  c.SetAttribute(u"alpha", u"300");
  EXPECT_EQ(c.GetAlpha(), 255);
}

TEST_F(ControlTest, AutoSizeComesFromTheBackgroundPicture) {
  WriteThemeFile("logo.bmp", SolidBmp(80, 80, 0x336699));
  const char16_t* markup =
      u"<Window><HBox><Control name=\"logo\" width=\"auto\" height=\"auto\" bkimage=\"logo.bmp\"/>"
      u"<Control name=\"empty\" width=\"auto\" height=\"auto\"/>"
      u"<Control name=\"missing\" width=\"auto\" height=\"auto\" bkimage=\"nothing.bmp\"/></HBox></Window>";
  ASSERT_TRUE(Layout(markup, {300, 200}));
  EXPECT_EQ(PosOf("logo"), "0,0,80,80");
  EXPECT_EQ(PosOf("empty"), "80,0,80,0");
  EXPECT_EQ(PosOf("missing"), "80,0,80,0");

  SetScale(125);
  window_ = std::make_unique<HeadlessWindow>();
  ASSERT_TRUE(Layout(markup, {300, 200}));
  EXPECT_EQ(PosOf("logo"), "0,0,100,100");
}

TEST_F(ControlTest, AutoSizeFromAPictureSourceIsFixedForGood) {
  WriteThemeFile("strip.bmp", SolidBmp(40, 10, 0xff0000));
  ASSERT_TRUE(Layout(u"<Window><HBox><Control name=\"c\" width=\"auto\" height=\"auto\" "
                     u"bkimage=\"file='strip.bmp' source='0,0,20,10'\"/></HBox></Window>",
                     {100, 100}));
  EXPECT_EQ(Find("c")->GetFixedWidth(), 20);
  EXPECT_EQ(Find("c")->GetFixedHeight(), 10);
  EXPECT_EQ(PosOf("c"), "0,0,20,10");
}

TEST_F(ControlTest, StatePicturesFallBack) {
  WriteThemeFile("n.bmp", SolidBmp(4, 4, 0x0000ff));
  WriteThemeFile("h.bmp", SolidBmp(4, 4, 0x00ff00));
  WriteThemeFile("p.bmp", SolidBmp(4, 4, 0xff0000));
  struct Case {
    const char16_t* markup;
    ControlState state;
    uint32_t expected;
  } cases[] = {
      {u"<Window><Control normalimage=\"n.bmp\" hotimage=\"h.bmp\" fadehot=\"false\"/></Window>",
       ControlState::Pushed, 0xff00ff00},
      {u"<Window><Control normalimage=\"n.bmp\" fadehot=\"false\"/></Window>", ControlState::Pushed, 0xff0000ff},
      {u"<Window><Control normalimage=\"n.bmp\" fadehot=\"false\"/></Window>", ControlState::Hot, 0xff0000ff},
      {u"<Window><Control normalimage=\"n.bmp\"/></Window>", ControlState::Disabled, 0xff0000ff},
      {u"<Window><Control normalimage=\"n.bmp\" pushedimage=\"p.bmp\"/></Window>", ControlState::Pushed,
       0xffff0000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.state));
    window_ = std::make_unique<HeadlessWindow>();
    ASSERT_TRUE(Layout(c.markup, {4, 4}));
    window_->GetRoot()->SetState(c.state);
    auto canvas = Canvas(4, 4);
    window_->Paint(canvas.get(), {0, 0, 4, 4});
    EXPECT_EQ(PixelAt(canvas.get(), 1, 1), c.expected);
  }
}

TEST_F(ControlTest, HotFadeShowsTheNormalPictureUntilTheMouseComes) {
  WriteThemeFile("n.bmp", SolidBmp(4, 4, 0x0000ff));
  WriteThemeFile("h.bmp", SolidBmp(4, 4, 0x00ff00));
  ASSERT_TRUE(Layout(u"<Window><Control normalimage=\"n.bmp\" hotimage=\"h.bmp\"/></Window>", {4, 4}));
  Control* control = window_->GetRoot();
  ASSERT_TRUE(control->IsHotFadeOn());
  struct Case {
    int hot_alpha;
    uint32_t expected;
  } cases[] = {{0, 0xff0000ff}, {255, 0xff00ff00}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hot_alpha);
    control->SetHotAlpha(c.hot_alpha);
    auto canvas = Canvas(4, 4);
    window_->Paint(canvas.get(), {0, 0, 4, 4});
    EXPECT_EQ(PixelAt(canvas.get(), 1, 1), c.expected);
  }
}

TEST_F(ControlTest, ColoursAreNamesAndTransparentControlsPaintNothing) {
  Res().RegisterColor(u"red", 0xffff0000);
  auto canvas = Render(u"<Window><Box bkcolor=\"#ffffffff\"><Control bkcolor=\" red\" width=\"2\"/></Box></Window>",
                       4, 4);
  EXPECT_EQ(PixelAt(canvas.get(), 0, 0), 0xffff0000u);
  EXPECT_EQ(PixelAt(canvas.get(), 3, 0), 0u);  // "#ffffffff" is no colour name

  window_ = std::make_unique<HeadlessWindow>();
  canvas = Render(u"<Window><Box alpha=\"0\" bkcolor=\"red\"><Control bkcolor=\"red\"/></Box></Window>", 4, 4);
  EXPECT_EQ(PixelAt(canvas.get(), 1, 1), 0u);
}

TEST_F(ControlTest, HalfTransparentControlsBlendThemAndTheirChildren) {
  Res().RegisterColor(u"red", 0xffff0000);
  auto canvas = Render(u"<Window><Box alpha=\"128\"><Control bkcolor=\"red\"/></Box></Window>", 4, 4);
  const uint32_t pixel = PixelAt(canvas.get(), 1, 1);
  EXPECT_NEAR(static_cast<int>(pixel >> 24), 128, 1);
}

TEST_F(ControlTest, PerSideBordersDrawOnlyThoseSides) {
  Res().RegisterColor(u"line", 0xff000000);
  auto canvas = Render(u"<Window><Control bordercolor=\"line\" bordersize=\"0,1,0,1\"/></Window>", 10, 10);
  EXPECT_EQ(PixelAt(canvas.get(), 5, 0), 0xff000000u);
  EXPECT_EQ(PixelAt(canvas.get(), 5, 9), 0xff000000u);
  EXPECT_EQ(PixelAt(canvas.get(), 0, 5), 0u);
  EXPECT_EQ(PixelAt(canvas.get(), 9, 5), 0u);

  window_ = std::make_unique<HeadlessWindow>();
  canvas = Render(u"<Window><Control bordercolor=\"line\" bordersize=\"1\"/></Window>", 10, 10);
  EXPECT_EQ(PixelAt(canvas.get(), 0, 5), 0xff000000u);
  EXPECT_EQ(PixelAt(canvas.get(), 9, 5), 0xff000000u);
  EXPECT_EQ(PixelAt(canvas.get(), 5, 9), 0xff000000u);
  EXPECT_EQ(PixelAt(canvas.get(), 5, 5), 0u);
}

TEST_F(ControlTest, PicturesDrawIntoTheirScaledDest) {
  SetScale(150);
  WriteThemeFile("g.bmp", SolidBmp(4, 4, 0x00ff00));
  auto canvas = Render(u"<Window><Control normalimage=\"file='g.bmp' dest='4,4,16,16'\"/></Window>", 30, 30);
  EXPECT_EQ(PixelAt(canvas.get(), 5, 5), 0u);
  EXPECT_EQ(PixelAt(canvas.get(), 6, 6), 0xff00ff00u);
  EXPECT_EQ(PixelAt(canvas.get(), 23, 23), 0xff00ff00u);
  EXPECT_EQ(PixelAt(canvas.get(), 24, 24), 0u);
}

// --- Events --------------------------------------------------------------

class EventTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(Layout(u"<Window><HBox name=\"row\"><Box name=\"inner\"><Control name=\"a\" width=\"10\"/>"
                       u"</Box><Control name=\"b\"/></HBox></Window>",
                       {100, 20}));
  }

  EventCallback Log(const std::string& what, bool result) {
    return [this, what, result](EventArgs*) {
      log_.push_back(what);
      return result;
    };
  }

  void Send(const char* name, EventType type) { window_->SendNotify(Find(name), type); }

  std::vector<std::string> log_;
};

TEST_F(EventTest, BubbledListenersSeeDescendantsAfterTheirOwnListeners) {
  Box* row = static_cast<Box*>(Find("row"));
  Box* inner = static_cast<Box*>(Find("inner"));
  Find("a")->AttachEvent(EventType::kMouseHover, Log("a", true));
  inner->AttachBubbledEvent(EventType::kMouseHover, Log("inner", true));
  row->AttachBubbledEvent(EventType::kAll, Log("row-all", true));
  Send("a", EventType::kMouseHover);
  EXPECT_EQ(log_, (std::vector<std::string>{"a", "inner", "row-all"}));
}

TEST_F(EventTest, AListenerReturningFalseStopsTheEvent) {
  Box* inner = static_cast<Box*>(Find("inner"));
  Find("a")->AttachEvent(EventType::kMouseHover, Log("a", false));
  Find("a")->AttachXmlEvent(EventType::kMouseHover, Log("a-markup", true));
  inner->AttachBubbledEvent(EventType::kMouseHover, Log("inner", true));
  Send("a", EventType::kMouseHover);
  EXPECT_EQ(log_, (std::vector<std::string>{"a"}));

  // The "all" list runs after the type's list and decides.
  log_.clear();
  Find("a")->AttachEvent(EventType::kAll, Log("a-all", true));
  Send("a", EventType::kMouseHover);
  EXPECT_EQ(log_, (std::vector<std::string>{"a", "a-all", "a-markup", "inner"}));

  // A bubbled listener returning false keeps the event from going higher.
  log_.clear();
  inner->AttachBubbledEvent(EventType::kMouseHover, Log("inner-stop", false));
  static_cast<Box*>(Find("row"))->AttachBubbledEvent(EventType::kMouseHover, Log("row", true));
  Send("a", EventType::kMouseHover);
  EXPECT_EQ(log_, (std::vector<std::string>{"a", "a-all", "a-markup", "inner", "inner-stop"}));
}

TEST_F(EventTest, AListenerThatDeletesItsControlEndsTheDelivery) {
  Box* inner = static_cast<Box*>(Find("inner"));
  Control* a = Find("a");
  a->AttachEvent(EventType::kMouseHover, [inner, a](EventArgs*) {
    inner->SetDelayedDestroy(false);
    inner->RemoveChild(a);  // destroyed right here
    return true;
  });
  // Listeners bound to the control are weak: they no-op once it is gone.
  a->AttachEvent(EventType::kMouseHover, a->ToWeakCallback(Log("a-second", true)));
  inner->AttachBubbledEvent(EventType::kMouseHover, Log("inner", true));
  Send("a", EventType::kMouseHover);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(Find("a"), nullptr);
  EXPECT_EQ(inner->GetCount(), 0u);
}

TEST_F(EventTest, RemovingAControlFromItsOwnHandlerDefersTheDeletion) {
  Box* inner = static_cast<Box*>(Find("inner"));
  Control* a = Find("a");
  a->AttachEvent(EventType::kMouseHover, [inner, a](EventArgs*) {
    inner->RemoveChild(a);  // queued in the window
    return true;
  });
  inner->AttachBubbledEvent(EventType::kMouseHover, Log("inner", true));
  Send("a", EventType::kMouseHover);
  EXPECT_EQ(window_->DeferredCount(), 1u);
  window_->FlushDeferredDeletes();
  EXPECT_EQ(window_->DeferredCount(), 0u);
}

TEST_F(EventTest, PressAndReleaseWalkTheStateMachine) {
  Control* a = Find("a");
  Res().RegisterColor(u"hot", 0xff00ff00);
  a->SetAttribute(u"hotcolor", u"hot");
  a->SetAttribute(u"fadehot", u"false");
  window_->SetNewHoverControl(a);
  Send("a", EventType::kMouseEnter);
  EXPECT_EQ(a->GetState(), ControlState::Hot);
  EXPECT_EQ(a->GetHotAlpha(), 255);

  window_->SetLastMousePos({5, 5});
  Send("a", EventType::kMouseButtonDown);
  EXPECT_EQ(a->GetState(), ControlState::Pushed);
  EXPECT_TRUE(a->IsMouseCaptured());
  Send("a", EventType::kMouseButtonUp);
  EXPECT_EQ(a->GetState(), ControlState::Hot);

  Send("a", EventType::kMouseButtonDown);
  window_->SetLastMousePos({50, 5});  // released outside
  Send("a", EventType::kMouseButtonUp);
  EXPECT_EQ(a->GetState(), ControlState::Normal);
  EXPECT_EQ(a->GetHotAlpha(), 0);

  a->SetEnabled(false);
  EXPECT_EQ(a->GetState(), ControlState::Disabled);
  Send("a", EventType::kMouseButtonDown);
  EXPECT_EQ(a->GetState(), ControlState::Disabled);
  a->SetEnabled(true);
  EXPECT_EQ(a->GetState(), ControlState::Normal);
}

TEST_F(EventTest, LeaveClimbsOnlyThroughAncestorsThatLoseTheHover) {
  Box* inner = static_cast<Box*>(Find("inner"));
  Box* row = static_cast<Box*>(Find("row"));
  inner->SetAttribute(u"state", u"hot");
  row->SetAttribute(u"state", u"hot");
  Find("a")->SetAttribute(u"state", u"hot");
  window_->SetNewHoverControl(Find("b"));  // the pointer moved from a to its cousin b
  Send("a", EventType::kMouseLeave);
  EXPECT_EQ(Find("a")->GetState(), ControlState::Normal);
  EXPECT_EQ(inner->GetState(), ControlState::Normal);
  EXPECT_EQ(row->GetState(), ControlState::Hot);  // still contains the hover
}

TEST_F(EventTest, InternalEventsSkipListeners) {
  Find("a")->AttachEvent(EventType::kAll, Log("a", true));
  Send("a", EventType::kInternalSetFocus);
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(Find("a")->IsFocused());
}

TEST_F(EventTest, MouseEventsOfAMouseDisabledControlGoToTheParent) {
  Control* a = Find("a");
  a->SetMouseEnabled(false);
  static_cast<Box*>(Find("inner"))->AttachBubbledEvent(EventType::kMouseButtonDown, Log("inner", true));
  Send("a", EventType::kMouseButtonDown);
  EXPECT_EQ(a->GetState(), ControlState::Normal);
  EXPECT_EQ(log_, (std::vector<std::string>{"inner"}));
}

}  // namespace
}  // namespace ui::testing
