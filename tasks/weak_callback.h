#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "tasks/weak_flag.h"

// A callable that does nothing once the owner of its flag is gone. The liveness
// test and the call are two steps: destroy the owner on the thread that runs its
// callbacks.
namespace nbase {

template <typename T>
class WeakCallback {
 public:
  WeakCallback() = default;
  WeakCallback(std::weak_ptr<WeakFlag> flag, T callable) : flag_(std::move(flag)), callable_(std::move(callable)) {}

  // A dead callback returns the result type's zero value (false, nothing, ...).
  template <typename... Args>
  auto operator()(Args&&... args) const -> decltype(std::declval<const T&>()(std::forward<Args>(args)...)) {
    using Result = decltype(std::declval<const T&>()(std::forward<Args>(args)...));
    if (Expired()) return Result();
    return callable_(std::forward<Args>(args)...);
  }

  bool Expired() const { return flag_.expired(); }
  const T& callable() const { return callable_; }

 private:
  std::weak_ptr<WeakFlag> flag_;
  T callable_;
};

}  // namespace nbase
