#pragma once

#include <cstdint>

#include "tasks/message_pump.h"
#include "tasks/waitable_event.h"

// The event pump of worker threads: runs tasks and sleeps on an event between them.
namespace nbase {

class DefaultMessagePump : public MessagePump {
 public:
  void Run(Delegate* delegate) override;
  void Quit() override;
  void ScheduleWork() override;
  void ScheduleDelayedWork(int64_t delayed_work_time) override;

 private:
  // Posting threads touch only the event; the loop thread's own state sits on
  // another cache line so the two do not trade the line back and forth.
  alignas(64) WaitableEvent event_;
  alignas(64) bool should_quit_ = false;
  int64_t delayed_work_time_ = 0;
};

}  // namespace nbase
