#include "platform/display/tests/display_fixture.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cairo.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace platform::testing {

size_t Recorder::Count(uint32_t message) const {
  size_t n = 0;
  for (const Seen& s : seen) n += s.message == message;
  return n;
}

const Seen* Recorder::Last(uint32_t message) const {
  for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
    if (it->message == message) return &*it;
  }
  return nullptr;
}

LResult RecordingProcedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  auto* r = static_cast<Recorder*>(GetWindowUserData(window));
  if (!r) return DefDisplayProc(window, message, wparam, lparam);
  r->seen.push_back({message, wparam, lparam});
  switch (message) {
    case kNcHitTest:
      if (r->hit_test) {
        Point p{PointParamX(lparam), PointParamY(lparam)};
        ScreenToClient(window, &p);
        return r->hit_test(p);
      }
      break;
    case kPaint:
      if (!r->paint) break;
      r->paint(window);
      ValidateRect(window, nullptr);
      return 0;
    case kLButtonDown:
      if (r->capture_on_press) SetCapture(window);
      return 0;
    case kLButtonUp:
      if (r->capture_on_press) ReleaseCapture();
      return 0;
    case kGetMinMaxInfo: {
      auto* info = reinterpret_cast<MinMaxInfo*>(lparam);
      if (r->min_track.cx) info->min_track_size = r->min_track;
      if (r->max_size.cx) info->max_size = r->max_size;
      return 0;
    }
    default:
      break;
  }
  return DefDisplayProc(window, message, wparam, lparam);
}

void DisplayTest::SetUp() {
  const char* display = std::getenv("DISPLAY");
  if (!display) GTEST_SKIP() << "needs an X server (scripts/with-xvfb)";
  // The pointer and the keyboard belong to the whole server: tests that drive them
  // take turns, also when ctest runs several test programs at once.
  std::string lock = "/tmp/lumora-x11-input-" + std::to_string(getuid()) + "-";
  for (const char* c = display; *c; ++c) lock += (*c == '/' ? '_' : *c);
  lock_fd_ = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(lock_fd_, 0);
  ASSERT_EQ(flock(lock_fd_, LOCK_EX), 0);
  input_ = XOpenDisplay(nullptr);
  ASSERT_NE(input_, nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(input_, &event, &error, &major, &minor));
  MovePointer(5, 5);
}

void DisplayTest::TearDown() {
  for (WindowHandle w : windows_) DestroyWindow(w);
  PumpFor(20);
  if (input_) {
    for (unsigned b = 1; b <= 3; ++b) XTestFakeButtonEvent(input_, b, False, 0);
    XCloseDisplay(input_);
  }
  if (lock_fd_ >= 0) close(lock_fd_);
}

WindowHandle DisplayTest::MakeWindow(const Rect& rect, Recorder** recorder, bool layered, bool show) {
  recorders_.push_back(std::make_unique<Recorder>());
  Recorder* r = recorders_.back().get();
  NativeWindowParams params;
  params.rect = rect;
  params.layered = layered;
  params.double_clicks = true;
  params.title = "display test";
  const WindowHandle w = CreateNativeWindow(&RecordingProcedure, r, params);
  EXPECT_NE(w, 0u);
  windows_.push_back(w);
  if (show) {
    ShowWindow(w, kSwShow);
    EXPECT_TRUE(WaitViewable(w));
  }
  if (recorder) *recorder = r;
  return w;
}

bool DisplayTest::PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    Message m;
    while (PeekMessage(&m, 0, 0, 0, kPmRemove)) DispatchMessage(m);
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    WaitForInput(10, kQsAllInput, 0);
  }
}

void DisplayTest::PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

bool DisplayTest::WaitViewable(WindowHandle window) {
  // The window is made through the other connection: the server must have seen
  // that before this one asks about it.
  FlushDisplay();
  return PumpUntil([&] {
    XWindowAttributes attrs{};
    return XGetWindowAttributes(input_, NativeWindowId(window), &attrs) && attrs.map_state == IsViewable;
  });
}

bool DisplayTest::Focus(WindowHandle window) {
  SetFocus(window);
  return PumpUntil([&] {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(input_, &focus, &revert);
    return focus == NativeWindowId(window) && GetFocus() == window;
  });
}

Rect DisplayTest::ServerRect(WindowHandle window) {
  FlushDisplay();
  XWindowAttributes attrs{};
  if (!XGetWindowAttributes(input_, NativeWindowId(window), &attrs)) return {};
  return {attrs.x, attrs.y, attrs.x + attrs.width, attrs.y + attrs.height};
}

void DisplayTest::MovePointer(int x, int y) {
  XTestFakeMotionEvent(input_, -1, x, y, 0);
  XSync(input_, False);
}

void DisplayTest::Button(unsigned button, bool press) {
  XTestFakeButtonEvent(input_, button, press ? True : False, 0);
  XSync(input_, False);
}

void DisplayTest::Click(unsigned button) {
  Button(button, true);
  Button(button, false);
}

void DisplayTest::Key(unsigned long keysym, bool press) {
  XTestFakeKeyEvent(input_, XKeysymToKeycode(input_, keysym), press ? True : False, 0);
  XSync(input_, False);
}

void DisplayTest::Tap(unsigned long keysym) {
  Key(keysym, true);
  Key(keysym, false);
}

uint32_t DisplayTest::ScreenPixel(int x, int y) {
  FlushDisplay();
  XImage* image = XGetImage(input_, DefaultRootWindow(input_), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

void DisplayTest::Screenshot(const Rect& rect, const char* name) {
  const char* dir = std::getenv("LUMORA_SCREENSHOT_DIR");
  if (!dir) return;
  XImage* image = XGetImage(input_, DefaultRootWindow(input_), rect.left, rect.top, static_cast<unsigned>(rect.Width()),
                            static_cast<unsigned>(rect.Height()), AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, rect.Width(), rect.Height());
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  cairo_surface_flush(surface);
  for (int y = 0; y < rect.Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < rect.Width(); ++x) row[x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
  }
  cairo_surface_mark_dirty(surface);
  const std::string path = std::string(dir) + "/" + name;
  EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
  XDestroyImage(image);
}

}  // namespace platform::testing
