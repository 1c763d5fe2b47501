#pragma once

#include "tasks/framework_thread.h"

// A worker thread of the installer ("Global Misc Thread", "http Thread"): a
// framework thread that registers itself under its identifier while it runs, so
// closures can be posted to it by identifier.
class MiscThread : public nbase::FrameworkThread {
 public:
  // A negative identifier registers nothing.
  MiscThread(const char* name, int identifier);
  ~MiscThread() override;

 protected:
  void Init() override;
  void Cleanup() override;

 private:
  int identifier_;
};
