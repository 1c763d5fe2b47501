#pragma once

#include <cstdint>

#include "ui/core/event_type.h"
#include "ui/core/geometry.h"

namespace ui {

class Control;

// One UI event: what happened, to which control, where and when. Mouse,
// touch and pointer events carry the client point; keyboard, wheel, size and
// focus events are built without one (0, 0). Notices sent by the window carry
// its last mouse position.
struct EventArgs {
  EventType type = EventType::kNone;
  Control* sender = nullptr;  // the addressed control; null for window notices
  uint32_t timestamp = 0;     // platform millisecond tick when built
  UiPoint mouse_point;
  char16_t key_char = 0;      // key and character events
  uintptr_t w_param = 0;      // the message's first parameter (wheel: signed delta)
  intptr_t l_param = 0;       // the message's second parameter
  float pressure = 0.0f;      // pointer events: 0 to 1 (raw / 1024)

  // The wheel delta of a kMouseWheel event, with its sign.
  int32_t WheelDelta() const { return static_cast<int32_t>(static_cast<intptr_t>(w_param)); }
};

}  // namespace ui
