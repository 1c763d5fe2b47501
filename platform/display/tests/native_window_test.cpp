#include "platform/display/tests/display_fixture.h"

#include <X11/extensions/shape.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <vector>

#include "platform/display/native_window.h"
#include "platform/display/x_connection.h"

namespace platform::testing {
namespace {

using NativeWindowTest = DisplayTest;

Point ClientPoint(const Seen* s) { return s ? Point{PointParamX(s->lparam), PointParamY(s->lparam)} : Point{-999, -999}; }

TEST_F(NativeWindowTest, MouseInputArrivesAsWindowMessages) {
  Recorder* r = nullptr;
  MakeWindow({100, 100, 300, 250}, &r);
  MovePointer(150, 130);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kMouseMove); }));
  EXPECT_EQ(ClientPoint(r->Last(kMouseMove)), (Point{50, 30}));
  EXPECT_EQ(r->Last(kNcHitTest)->lparam, MakePointParam(150, 130)) << "hit test gets the screen point";
  EXPECT_TRUE(r->Has(kSetCursor));

  Click(1);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kLButtonUp); }));
  EXPECT_EQ(r->Last(kLButtonDown)->wparam & kMkLButton, kMkLButton);
  EXPECT_EQ(ClientPoint(r->Last(kLButtonDown)), (Point{50, 30}));
  Click(1);
  ASSERT_TRUE(PumpUntil([&] { return r->Count(kLButtonUp) == 2; }));
  EXPECT_EQ(r->Count(kLButtonDoubleClick), 1u) << "a quick second click is a double click";
  EXPECT_EQ(r->Count(kLButtonDown), 1u);

  Click(3);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kRButtonUp); }));
  EXPECT_TRUE(r->Has(kRButtonDown));

  struct WheelCase {
    unsigned button;
    uint32_t message;
    int delta;
  };
  for (const WheelCase& c : {WheelCase{4, kMouseWheel, 120}, WheelCase{5, kMouseWheel, -120},
                             WheelCase{6, kMouseHWheel, -120}, WheelCase{7, kMouseHWheel, 120}}) {
    SCOPED_TRACE(c.button);
    r->seen.clear();
    Click(c.button);
    ASSERT_TRUE(PumpUntil([&] { return r->Has(c.message); }));
    const Seen* s = r->Last(c.message);
    EXPECT_EQ(static_cast<int16_t>(s->wparam >> 16), c.delta);
    EXPECT_EQ(s->lparam, MakePointParam(150, 130)) << "wheel messages carry the screen point";
  }
}

TEST_F(NativeWindowTest, KeysArriveAsVirtualKeysAndUtf16Characters) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r);
  ASSERT_TRUE(Focus(w));
  EXPECT_TRUE(r->Has(kSetFocus));

  struct KeyCase {
    unsigned long keysym;
    bool shift;
    uint32_t vk;
    char16_t ch;  // 0: no character
  };
  const KeyCase cases[] = {
      {XK_a, false, 'A', u'a'},        {XK_a, true, 'A', u'A'},         {XK_5, false, '5', u'5'},
      {XK_Return, false, 0x0D, 0x0D},  {XK_BackSpace, false, 0x08, 0x08}, {XK_Tab, false, 0x09, 0x09},
      {XK_space, false, 0x20, u' '},   {XK_Left, false, 0x25, 0},       {XK_Delete, false, 0x2E, 0},
      {XK_F5, false, 0x74, 0},         {XK_Escape, false, 0x1B, 0x1B},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.keysym);
    r->seen.clear();
    if (c.shift) Key(XK_Shift_L, true);
    Tap(c.keysym);
    if (c.shift) Key(XK_Shift_L, false);
    ASSERT_TRUE(PumpUntil([&] {
      for (const Seen& s : r->seen) {
        if (s.message == kKeyUp && s.wparam == c.vk) return true;
      }
      return false;
    }));
    bool down = false;
    for (const Seen& s : r->seen) down = down || (s.message == kKeyDown && s.wparam == c.vk);
    EXPECT_TRUE(down);
    const Seen* ch = r->Last(kChar);
    if (c.ch) {
      ASSERT_NE(ch, nullptr);
      EXPECT_EQ(ch->wparam, static_cast<WParam>(c.ch));
    } else {
      EXPECT_EQ(ch, nullptr);
    }
    const Seen* up = r->Last(kKeyUp);
    EXPECT_NE(up->lparam & (1L << 31), 0) << "key-up has the transition bit";
  }
}

TEST_F(NativeWindowTest, CaptureKeepsButtonUpForThePressingWindow) {
  Recorder* a = nullptr;
  Recorder* b = nullptr;
  const WindowHandle wa = MakeWindow({100, 100, 300, 250}, &a);
  MakeWindow({400, 100, 600, 250}, &b);
  a->capture_on_press = true;
  MovePointer(150, 150);
  Button(1, true);
  ASSERT_TRUE(PumpUntil([&] { return a->Has(kLButtonDown); }));
  EXPECT_EQ(GetCapture(), wa);
  MovePointer(450, 160);
  ASSERT_TRUE(PumpUntil([&] { return ClientPoint(a->Last(kMouseMove)) == Point{350, 60}; }));
  Button(1, false);
  ASSERT_TRUE(PumpUntil([&] { return a->Has(kLButtonUp); }));
  EXPECT_EQ(ClientPoint(a->Last(kLButtonUp)), (Point{350, 60})) << "released outside, in the pressing window's coordinates";
  EXPECT_TRUE(a->Has(kCaptureChanged));
  EXPECT_EQ(GetCapture(), 0u);
  EXPECT_FALSE(b->Has(kLButtonUp));
  EXPECT_FALSE(b->Has(kMouseMove)) << "the other window sees nothing while the capture holds";

  // Without capture the next click goes to the window under the pointer.
  Click(1);
  ASSERT_TRUE(PumpUntil([&] { return b->Has(kLButtonUp); }));
}

TEST_F(NativeWindowTest, DisabledWindowGetsNoInput) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r);
  SetFocus(w);
  EnableWindow(w, false);
  EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_TRUE(r->Has(kEnable));
  r->seen.clear();
  MovePointer(160, 160);
  Click(1);
  Click(4);
  Tap(XK_a);
  PumpFor(200);
  for (uint32_t m : {kMouseMove, kLButtonDown, kLButtonUp, kMouseWheel, kKeyDown, kChar, kKeyUp, kNcHitTest}) {
    EXPECT_FALSE(r->Has(m)) << std::hex << m;
  }
  EnableWindow(w, true);
  MovePointer(170, 170);
  Click(1);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kLButtonUp); }));
}

TEST_F(NativeWindowTest, CloseProtocolReachesTheProcedure) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r);
  ASSERT_TRUE(Focus(w));
  // Alt+F4: kSysKeyDown, the default turns it into the close command, then kClose.
  Key(XK_Alt_L, true);
  Tap(XK_F4);
  Key(XK_Alt_L, false);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
  EXPECT_TRUE(r->Has(kSysKeyDown));
  EXPECT_EQ(r->Last(kSysCommand)->wparam, kScClose);
  EXPECT_TRUE(r->Has(kClose));
  EXPECT_TRUE(r->Has(kNcDestroy));

  // The window manager's close request (WM_DELETE_WINDOW).
  Recorder* r2 = nullptr;
  const WindowHandle w2 = MakeWindow({100, 100, 300, 250}, &r2);
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = NativeWindowId(w2);
  ev.xclient.message_type = XInternAtom(input_, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(input_, "WM_DELETE_WINDOW", False));
  XSendEvent(input_, NativeWindowId(w2), False, NoEventMask, &ev);
  XSync(input_, False);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(w2); }));
  EXPECT_TRUE(r2->Has(kClose));
}

TEST_F(NativeWindowTest, ShowingWithOrWithoutActivation) {
  Recorder* a = nullptr;
  Recorder* b = nullptr;
  Recorder* c = nullptr;
  const WindowHandle wa = MakeWindow({100, 100, 300, 250}, &a);
  ASSERT_TRUE(Focus(wa));
  const WindowHandle wb = MakeWindow({350, 100, 550, 250}, &b, false, false);
  ShowWindow(wb, kSwShowNa);
  ASSERT_TRUE(WaitViewable(wb));
  PumpFor(50);
  EXPECT_EQ(GetFocus(), wa) << "shown without activation";
  EXPECT_FALSE(b->Has(kSetFocus));
  const WindowHandle wc = MakeWindow({600, 100, 800, 250}, &c, false, false);
  ShowWindow(wc, kSwShow);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == wc; }));
  EXPECT_TRUE(c->Has(kSetFocus));
  EXPECT_TRUE(a->Has(kKillFocus));
  EXPECT_EQ(c->Last(kShowWindow)->wparam, 1u);
  ShowWindow(wc, kSwHide);
  EXPECT_FALSE(IsWindowVisible(wc));
  EXPECT_EQ(c->Last(kShowWindow)->wparam, 0u);
}

TEST_F(NativeWindowTest, TitleOwnerAndOwnedWindows) {
  Recorder* r = nullptr;
  const WindowHandle owner = MakeWindow({100, 100, 300, 250}, &r);
  ASSERT_TRUE(SetWindowText(owner, "Verimo图片转换器"));
  EXPECT_EQ(GetWindowText(owner), "Verimo图片转换器");
  FlushDisplay();
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(input_, NativeWindowId(owner), XInternAtom(input_, "_NET_WM_NAME", False), 0, 256, False,
                               XInternAtom(input_, "UTF8_STRING", False), &type, &format, &items, &after, &data),
            Success);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), items), "Verimo图片转换器");
  XFree(data);

  NativeWindowParams params;
  params.owner = owner;
  params.rect = {120, 120, 220, 200};
  const WindowHandle owned = CreateNativeWindow(&RecordingProcedure, nullptr, params);
  ASSERT_NE(owned, 0u);
  EXPECT_EQ(GetWindowOwner(owned), owner);
  ::Window transient_for = 0;
  FlushDisplay();
  ASSERT_TRUE(XGetTransientForHint(input_, NativeWindowId(owned), &transient_for));
  EXPECT_EQ(transient_for, NativeWindowId(owner));
  DestroyWindow(owner);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(owned); })) << "owned windows go with their owner";
}

TEST_F(NativeWindowTest, CaptionDragMovesAndBorderResizes) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r);
  r->hit_test = [](Point p) -> LResult {
    if (p.x >= 190 && p.y >= 140) return kHtBottomRight;
    return p.y < 30 ? kHtCaption : kHtClient;
  };
  r->min_track = {150, 120};
  MovePointer(150, 110);
  Button(1, true);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kNcLButtonDown); }));
  EXPECT_EQ(r->Last(kNcLButtonDown)->wparam, static_cast<WParam>(kHtCaption));
  MovePointer(190, 135);
  Button(1, false);
  Rect rect;
  ASSERT_TRUE(PumpUntil([&] { return GetWindowRect(w, &rect) && rect.left == 140; }));
  EXPECT_EQ(rect, (Rect{140, 125, 340, 275}));
  ASSERT_TRUE(PumpUntil([&] { return ServerRect(w) == rect; })) << "the server has the window in its new place";
  EXPECT_FALSE(r->Has(kLButtonDown)) << "a caption press is not a client click";
  EXPECT_TRUE(r->Has(kMove));

  // Bottom-right corner: grows with the pointer, shrinks no further than the minimum.
  MovePointer(335, 270);
  Button(1, true);
  MovePointer(365, 300);
  ASSERT_TRUE(PumpUntil([&] { return GetWindowRect(w, &rect) && rect.right == 370; }));
  EXPECT_EQ(rect, (Rect{140, 125, 370, 305}));
  EXPECT_EQ(r->Last(kSize)->lparam, static_cast<LParam>(230 | (180 << 16)));
  MovePointer(200, 150);
  Button(1, false);
  ASSERT_TRUE(PumpUntil([&] { return GetWindowRect(w, &rect) && rect.Width() == 150; }));
  EXPECT_EQ(rect, (Rect{140, 125, 290, 245}));
}

TEST_F(NativeWindowTest, TrackingReportsHoverAndLeave) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r);
  MovePointer(150, 150);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kMouseMove); }));
  TrackMouseEvent(w, true, true, 100);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kMouseHover); }));
  EXPECT_EQ(ClientPoint(r->Last(kMouseHover)), (Point{50, 50}));
  EXPECT_EQ(r->Count(kMouseHover), 1u);
  PumpFor(200);
  EXPECT_EQ(r->Count(kMouseHover), 1u) << "hover is reported once per request";
  EXPECT_FALSE(r->Has(kMouseLeave));
  MovePointer(600, 600);
  ASSERT_TRUE(PumpUntil([&] { return r->Has(kMouseLeave); }));
  // Asking for a leave while the pointer is already outside reports it at once.
  TrackMouseEvent(w, false, true, 0);
  ASSERT_TRUE(PumpUntil([&] { return r->Count(kMouseLeave) == 2; }));
}

TEST_F(NativeWindowTest, MinimizeMaximizeRestore) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r);
  r->max_size = {800, 600};
  ShowWindow(w, kSwShowMaximized);
  EXPECT_TRUE(IsZoomed(w));
  Rect rect;
  GetWindowRect(w, &rect);
  EXPECT_EQ(rect, (Rect{0, 0, 800, 600})) << "maximized size from the procedure's limits";
  EXPECT_EQ(r->Last(kSize)->wparam, kSizeMaximized);
  ShowWindow(w, kSwRestore);
  GetWindowRect(w, &rect);
  EXPECT_EQ(rect, (Rect{100, 100, 300, 250}));
  EXPECT_EQ(r->Last(kSize)->wparam, kSizeRestored);
  SendMessage(w, kSysCommand, kScMinimize, 0);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(r->Last(kSize)->wparam, kSizeMinimized);
  ASSERT_TRUE(PumpUntil([&] {
    XWindowAttributes attrs{};
    return XGetWindowAttributes(input_, NativeWindowId(w), &attrs) && attrs.map_state != IsViewable;
  }));
  SendMessage(w, kSysCommand, kScRestore, 0);
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(WaitViewable(w));
}

TEST_F(NativeWindowTest, MonitorWorkAreaAndDensity) {
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({100, 100, 300, 250}, &r, false, false);
  MonitorDescription m = MonitorFromWindow(w);
  EXPECT_EQ(m.monitor, (Rect{0, 0, 1280, 1024}));
  EXPECT_TRUE(m.primary);
  EXPECT_EQ(VirtualScreenRect(), (Rect{0, 0, 1280, 1024}));
  // A panel of 40 pixels at the top, announced as the desktop's work area.
  const ::Window root = DefaultRootWindow(input_);
  const Atom workarea = XInternAtom(input_, "_NET_WORKAREA", False);
  long area[4] = {0, 40, 1280, 984};
  XChangeProperty(input_, root, workarea, XInternAtom(input_, "CARDINAL", False), 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(area), 4);
  XSync(input_, False);
  m = MonitorFromWindow(w);
  XDeleteProperty(input_, root, workarea);
  XSync(input_, False);
  EXPECT_EQ(m.work, (Rect{0, 40, 1280, 1024}));

  EXPECT_EQ(DisplayDpi(), 96) << "the test server's Xft.dpi";
}

TEST(DisplayDensityTest, ReadFromTheResourceDatabase) {
  // The server-wide database is shared with other tests, so the parsing is
  // checked on texts as xrdb stores them.
  struct Case {
    const char* resources;
    int dpi;
  };
  const Case cases[] = {
      {"", 96},
      {"Xft.dpi:\t144\n", 144},
      {"Xcursor.size:\t24\nXft.dpi:\t120\nXft.antialias:\t1\n", 120},
      {"Xft.dpi: 96.6\n", 97},
      {"Xft.dpi:\tlarge\n", 96},
      {"Xft.dpi:\t5000\n", 96},
      {"*dpi:\t110\n", 110},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resources);
    EXPECT_EQ(XConnection::DpiFromResources(c.resources), c.dpi);
  }
}

TEST_F(NativeWindowTest, LayeredWindowShowsItsPixelsAndCutsTransparency) {
  // A desktop colour that transparent parts must let through.
  const ::Window root = DefaultRootWindow(input_);
  XSetWindowBackground(input_, root, 0x336699);
  XClearWindow(input_, root);
  XSync(input_, False);
  Recorder* r = nullptr;
  const WindowHandle w = MakeWindow({200, 200, 300, 280}, &r, true, false);
  // Left half opaque red, right half a faint shadow, its last column fully
  // transparent (premultiplied BGRA).
  std::vector<uint32_t> pixels(100 * 80, 0);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 99; ++x) pixels[y * 100 + x] = x < 50 ? 0xFFFF0000 : 0x20080808;
  }
  r->paint = [&](WindowHandle window) {
    UpdateLayeredWindow(window, reinterpret_cast<const uint8_t*>(pixels.data()), 400, {100, 80}, 255, nullptr);
  };
  // Painted as a program does it: shown, and its first frame put at once.
  ShowWindow(w, kSwShow);
  ASSERT_TRUE(UpdateLayeredWindow(w, reinterpret_cast<const uint8_t*>(pixels.data()), 400, {100, 80}, 255, nullptr));
  ASSERT_TRUE(WaitViewable(w));
  PumpFor(50);
  EXPECT_EQ(ScreenPixel(210, 210), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(270, 210), 0x336699u) << "the transparent half shows the desktop";
  EXPECT_EQ(ScreenPixel(299, 279), 0x336699u);
  // No compositor runs under the test server: the transparent half is cut away.
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(input_, NativeWindowId(w), ShapeBounding, &count, &ordering);
  ASSERT_EQ(count, 80);
  EXPECT_EQ(rects[0].width, 50);
  XFree(rects);

  // Contents survive being hidden and shown again: from the kept shared-memory
  // copy, or painted again by the procedure when there is none.
  ShowWindow(w, kSwHide);
  PumpFor(50);
  ShowWindow(w, kSwShow);
  ASSERT_TRUE(WaitViewable(w));
  PumpFor(50);
  EXPECT_EQ(ScreenPixel(240, 270), 0xFF0000u);

  // A round region: the corner pixel goes, the middle stays.
  for (uint32_t& p : pixels) p = 0xFF00FF00;
  UpdateLayeredWindow(w, reinterpret_cast<const uint8_t*>(pixels.data()), 400, {100, 80}, 255, nullptr);
  SetWindowRoundRegion(w, {0, 0, 101, 81}, 20, 20);
  PumpFor(50);
  EXPECT_EQ(ScreenPixel(200, 200), 0x336699u);
  EXPECT_EQ(ScreenPixel(250, 240), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(210, 200), 0x00FF00u);
}

}  // namespace
}  // namespace platform::testing
