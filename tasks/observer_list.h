#pragma once

#include <algorithm>
#include <vector>

#include "tasks/lazy_eraser.h"

// Observers notified by index. Removing one during a pass only nulls its entry
// (the pass then skips it); the entry disappears once the outermost pass ends.
// Observers added during a pass are notified in that same pass.
namespace nbase {

template <typename Observer>
class ObserverList : public LazyEraser {
 public:
  void AddObserver(Observer* observer) { observers_.push_back(observer); }
  void RemoveObserver(Observer* observer) {
    auto it = std::find(observers_.begin(), observers_.end(), observer);
    if (it == observers_.end()) return;
    *it = nullptr;
    Erase();
  }
  bool empty() const { return observers_.empty(); }

  template <typename Notice>
  void Notify(Notice notice) {
    if (observers_.empty()) return;
    ++depth_;
    for (size_t i = 0; i < observers_.size(); ++i) {
      if (Observer* observer = observers_[i]) notice(observer);
    }
    --depth_;
    Erase();
  }

  void Erase() override {
    if (depth_ > 0) return;
    std::erase(observers_, nullptr);
  }

 private:
  std::vector<Observer*> observers_;
  int depth_ = 0;
};

}  // namespace nbase
