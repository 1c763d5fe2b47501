#include "tasks/support_weak_callback.h"

namespace nbase {

std::shared_ptr<WeakFlag> SupportWeakCallback::GetWeakFlag() {
  std::shared_ptr<WeakFlag> flag = weak_flag_.load();
  if (flag) return flag;
  auto fresh = std::make_shared<WeakFlag>();
  // Another thread may have made one meanwhile; theirs wins.
  if (weak_flag_.compare_exchange_strong(flag, fresh)) return fresh;
  return flag;
}

}  // namespace nbase
