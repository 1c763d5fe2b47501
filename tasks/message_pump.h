#pragma once

#include <cstdint>

// The blocking, waking half of a MessageLoop. The loop drives the pump through
// this interface; the pump calls back into the loop through Delegate.
namespace nbase {

class MessagePump {
 public:
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // Each returns whether a task ran.
    virtual bool DoWork() = 0;
    // next_delayed_work_time: ticks of the earliest remaining deadline, 0 for none.
    virtual bool DoDelayedWork(int64_t* next_delayed_work_time) = 0;
    virtual bool DoIdleWork() = 0;
  };

  virtual ~MessagePump() = default;
  // Returns once Quit has been called from inside the run.
  virtual void Run(Delegate* delegate) = 0;
  // Loop thread only.
  virtual void Quit() = 0;
  // Any thread: immediate work has arrived.
  virtual void ScheduleWork() = 0;
  // Loop thread only: the earliest deadline (ticks) changed.
  virtual void ScheduleDelayedWork(int64_t delayed_work_time) = 0;
};

}  // namespace nbase
