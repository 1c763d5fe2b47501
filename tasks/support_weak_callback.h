#pragma once

#include <atomic>
#include <memory>

#include "tasks/weak_callback.h"
#include "tasks/weak_flag.h"

// Base of objects that hand out weak callbacks. The object owns one flag, made on
// first need; destroying the object kills every callback made from it.
namespace nbase {

class SupportWeakCallback {
 public:
  SupportWeakCallback() = default;
  // A copy is another object: it gets a flag of its own when it needs one.
  SupportWeakCallback(const SupportWeakCallback&) {}
  SupportWeakCallback& operator=(const SupportWeakCallback&) { return *this; }
  virtual ~SupportWeakCallback() = default;

  // An owning reference to the object's flag, creating the flag if there is none.
  std::shared_ptr<WeakFlag> GetWeakFlag();

  template <typename T>
  WeakCallback<T> ToWeakCallback(const T& callable) {
    return WeakCallback<T>(GetWeakFlag(), callable);
  }

 protected:
  // Atomic so that a thread object can bind callbacks to itself from two threads.
  std::atomic<std::shared_ptr<WeakFlag>> weak_flag_;
};

}  // namespace nbase
