#pragma once

// Told once, on the loop's thread, when a MessageLoop is being destroyed.
namespace nbase {

class DestructionObserver {
 public:
  virtual ~DestructionObserver() = default;
  virtual void WillDestroyCurrentMessageLoop() = 0;
};

}  // namespace nbase
