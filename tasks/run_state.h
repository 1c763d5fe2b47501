#pragma once

// One active run of a MessageLoop, kept on the stack of the code running it.
namespace nbase {

class Dispatcher;

struct RunState {
  int run_depth = 1;  // 1 for the outermost run
  bool quit_received = false;
  Dispatcher* dispatcher = nullptr;
};

}  // namespace nbase
