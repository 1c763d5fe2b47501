#pragma once

#include "platform/messages/window_messages.h"

// Takes over message dispatch for a window-message loop run.
namespace nbase {

class Dispatcher {
 public:
  virtual ~Dispatcher() = default;
  // False asks the pump to end the run.
  virtual bool Dispatch(const platform::Message& message) = 0;
};

}  // namespace nbase
