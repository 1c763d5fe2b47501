#pragma once

#include <string>
#include <vector>

#include "platform/display/dialog_canvas.h"
#include "platform/display/native_window.h"

// The dialog behind MessageBox: layout, painting, mouse and keyboard, and the
// nested loop that runs until a button answers. Internal to platform/display.
namespace platform {

class MessageBoxDialog {
 public:
  MessageBoxDialog(WindowHandle owner, std::string text, std::string caption, uint32_t type);
  ~MessageBoxDialog();
  MessageBoxDialog(const MessageBoxDialog&) = delete;
  MessageBoxDialog& operator=(const MessageBoxDialog&) = delete;

  int Run();

  // The innermost dialog running on this thread, null when none (tests find their
  // buttons through it).
  static MessageBoxDialog* Active();
  WindowHandle window() const { return window_; }
  // Screen rectangle of the button answering id; empty when there is none.
  Rect ButtonScreenRect(int id) const;

 private:
  struct Button {
    int id;
    std::string label;
    Rect rect;  // client pixels
  };

  static LResult Procedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
  LResult Handle(uint32_t message, WParam wparam, LParam lparam);
  void LayOut();
  void Paint();
  int ButtonAt(Point p) const;
  void Finish(int result);
  int CancelResult() const;

  WindowHandle owner_;
  std::string text_;
  std::string caption_;
  uint32_t type_;
  DialogCanvas canvas_;
  WindowHandle window_ = 0;
  Size size_;
  Rect icon_rect_;
  Rect text_rect_;
  std::vector<Button> buttons_;
  int hot_ = -1;      // index of the button under the pointer
  int pressed_ = -1;  // index of the button the left button went down on
  int focused_ = 0;   // index of the button that Return answers
  int result_ = 0;
  bool done_ = false;
  MessageBoxDialog* outer_ = nullptr;
};

}  // namespace platform
