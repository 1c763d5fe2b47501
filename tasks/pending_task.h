#pragma once

#include <cstdint>

#include "tasks/closure.h"

// One queued task of a MessageLoop.
namespace nbase {

struct PendingTask {
  int64_t deadline = 0;      // ticks; 0 for an immediate task
  int32_t sequence_num = 0;  // set when the task enters the delayed queue
  bool nestable = true;
  Closure closure;

  // Delayed-queue order for a max-heap: the earliest deadline on top, and among
  // equal deadlines the task that entered the queue first.
  bool operator<(const PendingTask& other) const {
    if (deadline != other.deadline) return deadline > other.deadline;
    return sequence_num > other.sequence_num;
  }
};

}  // namespace nbase
