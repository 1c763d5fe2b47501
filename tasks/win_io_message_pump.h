#pragma once

#include <memory>

#include "tasks/completion_port.h"
#include "tasks/io_observer.h"
#include "tasks/observer_list.h"
#include "tasks/win_message_pump.h"

// The I/O thread's pump: tasks interleaved with completions of one completion
// port; its own wake-up is a packet whose key and context are the pump itself.
namespace nbase {

class WinIOMessagePump : public WinMessagePump {
 public:
  WinIOMessagePump();

  void Run(Delegate* delegate) override;
  void Quit() override;
  void ScheduleWork() override;
  void ScheduleDelayedWork(int64_t delayed_work_time) override;

  CompletionPort& port() { return *port_; }
  void AddObserver(IOObserver* observer) { observers_.AddObserver(observer); }
  void RemoveObserver(IOObserver* observer) { observers_.RemoveObserver(observer); }

 protected:
  void DoRunLoop() override;

 private:
  // Handles at most one completion; false when none came within the time-out.
  bool WaitForIOCompletion(uint32_t timeout_ms);

  std::unique_ptr<CompletionPort> port_;
  ObserverList<IOObserver> observers_;
};

}  // namespace nbase
