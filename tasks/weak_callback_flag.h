#pragma once

#include "tasks/support_weak_callback.h"

// A flag owner used as a member: Cancel kills one group of callbacks (a running
// timer, say) while the object that holds it lives on.
namespace nbase {

class WeakCallbackFlag : public SupportWeakCallback {
 public:
  // Callbacks made before die; the next GetWeakFlag/ToWeakCallback makes a fresh flag.
  void Cancel() { weak_flag_.store(nullptr); }
  bool HasUsed() const { return weak_flag_.load() != nullptr; }
};

}  // namespace nbase
