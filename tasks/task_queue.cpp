#include "tasks/task_queue.h"

#include <new>
#include <utility>

namespace nbase {

TaskQueue::~TaskQueue() {
  clear();
  delete head_;  // the one block an empty queue keeps
  while (spare_) delete std::exchange(spare_, spare_->next);
}

TaskQueue::Block* TaskQueue::NewBlock() {
  if (!spare_) return new Block();
  Block* block = std::exchange(spare_, spare_->next);
  --spare_count_;
  block->next = nullptr;
  return block;
}

void TaskQueue::Recycle(Block* block) {
  if (spare_count_ >= kMaxSpareBlocks) {
    delete block;
    return;
  }
  block->next = spare_;
  spare_ = block;
  ++spare_count_;
}

void TaskQueue::push(PendingTask&& task) {
  if (!tail_) {
    head_ = tail_ = NewBlock();
    head_index_ = tail_index_ = 0;
  } else if (tail_index_ == kBlockSize) {
    tail_ = tail_->next = NewBlock();
    tail_index_ = 0;
  }
  new (&tail_->at(tail_index_++)) PendingTask(std::move(task));
  ++size_;
}

PendingTask TaskQueue::pop() {
  PendingTask task = std::move(front());
  drop_front();
  return task;
}

void TaskQueue::drop_front() {
  head_->at(head_index_).~PendingTask();
  ++head_index_;
  --size_;
  if (size_ == 0) {
    // Keep one block for the next pushes; give back any others.
    while (head_ != tail_) Recycle(std::exchange(head_, head_->next));
    head_index_ = tail_index_ = 0;
  } else if (head_index_ == kBlockSize) {
    Recycle(std::exchange(head_, head_->next));
    head_index_ = 0;
  }
}

void TaskQueue::clear() {
  while (size_ > 0) drop_front();
}

void TaskQueue::swap(TaskQueue& other) {
  std::swap(head_, other.head_);
  std::swap(tail_, other.tail_);
  std::swap(head_index_, other.head_index_);
  std::swap(tail_index_, other.tail_index_);
  std::swap(size_, other.size_);
  std::swap(spare_, other.spare_);
  std::swap(spare_count_, other.spare_count_);
}

}  // namespace nbase
