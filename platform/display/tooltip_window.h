#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/geometry.h"
#include "platform/messages/window_messages.h"

namespace platform {

class DialogCanvas;

// The tooltip of a window: a small borderless window that shows one text beside
// the pointer, above every other window, without taking the focus. Its window is
// made on first use and destroyed with this object (or with its owner).
class TooltipWindow {
 public:
  explicit TooltipWindow(WindowHandle owner);
  ~TooltipWindow();
  TooltipWindow(const TooltipWindow&) = delete;
  TooltipWindow& operator=(const TooltipWindow&) = delete;

  // How long the pointer rests before the tip shows, in milliseconds.
  uint32_t InitialDelay() const { return 500; }
  // Widest line in pixels before the text wraps; 0 or less: no wrapping.
  void SetMaxTipWidth(int width) { max_width_ = width; }
  // The text (UTF-8) and the owner-client rectangle of the tool it describes.
  void UpdateTool(const std::string& text, const Rect& tool_rect);
  // Shows the tip below the pointer (kept on the pointer's monitor), or hides it.
  void Activate(bool active);

  bool visible() const;
  WindowHandle window() const { return window_; }
  const std::string& text() const { return text_; }

 private:
  static LResult Procedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam);
  void Paint();

  WindowHandle owner_;
  WindowHandle window_ = 0;
  std::unique_ptr<DialogCanvas> canvas_;
  std::string text_;
  Rect tool_rect_;
  int max_width_ = 0;
  Size size_;
};

}  // namespace platform
