#pragma once

#include <cstddef>

#include "tasks/pending_task.h"

// FIFO of tasks in fixed blocks. Tasks never move once queued (a producer far
// ahead of the loop pays no reallocation), emptied blocks are kept as spares, and
// swapping two queues hands the loop's spares to the posting side, so a steady
// flow of tasks allocates nothing.
namespace nbase {

class TaskQueue {
 public:
  TaskQueue() = default;
  ~TaskQueue();
  TaskQueue(const TaskQueue&) = delete;
  TaskQueue& operator=(const TaskQueue&) = delete;

  bool empty() const { return size_ == 0; }
  size_t size() const { return size_; }
  void push(PendingTask&& task);
  // Valid until the next pop, drop_front or clear.
  PendingTask& front() { return head_->at(head_index_); }
  PendingTask pop();
  // Destroys the front task where it lies.
  void drop_front();
  void clear();
  void swap(TaskQueue& other);

 private:
  static constexpr size_t kBlockSize = 128;
  static constexpr int kMaxSpareBlocks = 32;

  struct Block {
    alignas(PendingTask) unsigned char storage[kBlockSize * sizeof(PendingTask)];
    Block* next = nullptr;
    PendingTask& at(size_t i) { return reinterpret_cast<PendingTask*>(storage)[i]; }
  };

  Block* NewBlock();
  void Recycle(Block* block);

  Block* head_ = nullptr;
  Block* tail_ = nullptr;
  size_t head_index_ = 0;  // first task in head_
  size_t tail_index_ = 0;  // one past the last task in tail_
  size_t size_ = 0;
  Block* spare_ = nullptr;
  int spare_count_ = 0;
};

}  // namespace nbase
