#pragma once

// Told before and after the I/O pump delivers each completion.
namespace nbase {

class IOObserver {
 public:
  virtual ~IOObserver() = default;
  virtual void WillProcessIOEvent() = 0;
  virtual void DidProcessIOEvent() = 0;
};

}  // namespace nbase
