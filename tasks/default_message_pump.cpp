#include "tasks/default_message_pump.h"

#include "tasks/time_ticks.h"

namespace nbase {

void DefaultMessagePump::Run(Delegate* delegate) {
  bool did_work = delegate->DoWork();
  while (!should_quit_) {
    did_work |= delegate->DoDelayedWork(&delayed_work_time_);
    if (should_quit_) break;
    if (!did_work) {
      bool did_idle = delegate->DoIdleWork();
      if (should_quit_) break;
      if (!did_idle) {
        if (delayed_work_time_ == 0) {
          event_.Wait();
        } else {
          int64_t left = delayed_work_time_ - TimeTicks::Now();
          if (left > 0) {
            event_.TimedWait((left + 999) / 1000);
          } else {
            delayed_work_time_ = 0;
          }
        }
      }
    }
    did_work = delegate->DoWork();
  }
  should_quit_ = false;
}

void DefaultMessagePump::Quit() { should_quit_ = true; }

void DefaultMessagePump::ScheduleWork() { event_.Signal(); }

void DefaultMessagePump::ScheduleDelayedWork(int64_t delayed_work_time) { delayed_work_time_ = delayed_work_time; }

}  // namespace nbase
