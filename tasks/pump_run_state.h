#pragma once

#include "tasks/message_pump.h"

// One active run of a platform pump.
namespace nbase {

class Dispatcher;

struct PumpRunState {
  int run_depth = 1;
  bool should_quit = false;
  MessagePump::Delegate* delegate = nullptr;
  Dispatcher* dispatcher = nullptr;
};

}  // namespace nbase
