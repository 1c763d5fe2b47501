#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "tasks/pending_task.h"

// FIFO of tasks over one vector read from a moving head. Swapping two queues
// exchanges their storage, so the incoming and work queues reuse each other's
// capacity and a steady flow of tasks allocates nothing.
namespace nbase {

class TaskQueue {
 public:
  bool empty() const { return head_ == tasks_.size(); }
  size_t size() const { return tasks_.size() - head_; }
  void push(PendingTask&& task) { tasks_.push_back(std::move(task)); }
  PendingTask& front() { return tasks_[head_]; }
  // Takes the front task out; the storage is reset when the last one is taken.
  PendingTask pop() {
    PendingTask task = std::move(tasks_[head_]);
    if (++head_ == tasks_.size()) clear();
    return task;
  }
  void clear() {
    tasks_.clear();
    head_ = 0;
  }
  void swap(TaskQueue& other) {
    tasks_.swap(other.tasks_);
    std::swap(head_, other.head_);
  }

 private:
  std::vector<PendingTask> tasks_;
  size_t head_ = 0;
};

}  // namespace nbase
