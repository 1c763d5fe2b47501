#pragma once

// GoogleTest before Xlib: Xlib defines None and Bool as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/display/native_window.h"
#include "platform/messages/window_messages.h"

// Windows of the display layer under a real X server, driven by real input from
// the XTest extension through a second connection, as a user's devices would.
namespace platform::testing {

struct Seen {
  uint32_t message;
  WParam wparam;
  LParam lparam;
};

// What a test window's procedure records and answers.
struct Recorder {
  std::vector<Seen> seen;
  std::function<LResult(Point client)> hit_test;  // kNcHitTest; client area when empty
  std::function<void(WindowHandle)> paint;          // kPaint; validated after
  bool capture_on_press = false;                   // as the UI's windows do
  Size min_track;                                  // kGetMinMaxInfo
  Size max_size;

  size_t Count(uint32_t message) const;
  const Seen* Last(uint32_t message) const;
  bool Has(uint32_t message) const { return Last(message) != nullptr; }
};

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window at rect (screen) recording into a new Recorder; shown and mapped.
  WindowHandle MakeWindow(const Rect& rect, Recorder** recorder, bool layered = false, bool show = true);
  // Dispatches messages until done() or the bound passes; false on time-out.
  bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 3000);
  void PumpFor(int ms);
  bool WaitViewable(WindowHandle window);
  // Gives the window the keyboard focus and waits until the server has it there.
  bool Focus(WindowHandle window);
  // The window's place as the server has it now.
  Rect ServerRect(WindowHandle window);

  void MovePointer(int x, int y);
  void Button(unsigned button, bool press);
  void Click(unsigned button = 1);
  void Key(unsigned long keysym, bool press);
  void Tap(unsigned long keysym);
  // BGRA pixel of the screen at (x, y), read back from the server.
  uint32_t ScreenPixel(int x, int y);
  // Writes the screen rectangle as PNG when LUMORA_SCREENSHOT_DIR is set.
  void Screenshot(const Rect& rect, const char* name);

  int lock_fd_ = -1;
  ::Display* input_ = nullptr;  // the test's own connection: XTest and read-back
  std::vector<std::unique_ptr<Recorder>> recorders_;
  std::vector<WindowHandle> windows_;
};

LResult RecordingProcedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);

}  // namespace platform::testing
