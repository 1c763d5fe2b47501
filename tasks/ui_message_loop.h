#pragma once

#include "tasks/message_loop.h"

// A loop whose pump is the window-message pump.
namespace nbase {

class UIMessageLoop : public MessageLoop {};

}  // namespace nbase
