#pragma once

// Told before and after each task a MessageLoop runs.
namespace nbase {

class TaskObserver {
 public:
  virtual ~TaskObserver() = default;
  virtual void WillProcessTask() = 0;
  virtual void DidProcessTask() = 0;
};

}  // namespace nbase
