#pragma once

#include "platform/messages/window_messages.h"

// Told before and after the UI pump dispatches each window message.
namespace nbase {

class UIObserver {
 public:
  virtual ~UIObserver() = default;
  virtual void WillProcessMessage(const platform::Message& message) = 0;
  virtual void DidProcessMessage(const platform::Message& message) = 0;
};

}  // namespace nbase
