#pragma once

// Per-thread record of a thread running a FrameworkThread body.
namespace nbase {

class FrameworkThread;

struct ThreadTlsData {
  FrameworkThread* self = nullptr;
  int managed = 0;              // registration count
  int managed_thread_id = -1;   // registered identifier, -1 for none
};

}  // namespace nbase
