#include "tasks/framework_thread.h"

#include "tasks/io_message_loop.h"
#include "tasks/thread_manager.h"
#include "tasks/ui_message_loop.h"
#include "tasks/win_io_message_pump.h"
#include "tasks/win_ui_message_pump.h"

namespace nbase {
namespace {

thread_local ThreadTlsData* tls_data = nullptr;

}  // namespace

FrameworkThread::FrameworkThread(const char* name) : name_(name ? name : "") {}

FrameworkThread::~FrameworkThread() {
  Stop();
  name_.clear();
  factory_.reset();
}

ThreadTlsData* FrameworkThread::GetTlsData() { return tls_data; }

bool FrameworkThread::StartWithLoop(MessageLoop::Type type, Dispatcher* dispatcher) {
  if (message_loop()) return true;
  loop_type_ = type;
  dispatcher_ = dispatcher;
  if (!Create()) return false;
  started_.Wait();
  running_ = true;
  return true;
}

void FrameworkThread::RunOnCurrentThreadWithLoop(MessageLoop::Type type, Dispatcher* dispatcher) {
  loop_type_ = type;
  dispatcher_ = dispatcher;
  running_ = true;
  Run();
}

void FrameworkThread::Stop() {
  if (!running_) return;
  {
    std::lock_guard lock(loop_lock_);
    MessageLoop* loop = message_loop();
    if (!stopping_ && loop) {
      stopping_ = true;
      loop->PostNonNestableTask(ToWeakCallback([] {
        if (MessageLoop* current = MessageLoop::current()) current->Quit();
      }));
    }
  }
  Close();
  running_ = false;
  stopping_ = false;
}

std::unique_ptr<MessageLoop> FrameworkThread::CreateLoop() {
  switch (loop_type_) {
    case MessageLoop::kCustomMessageLoop:
      if (factory_) return factory_->CreateMessageLoop();
      break;
    case MessageLoop::kIOMessageLoop: {
      auto loop = std::make_unique<IOMessageLoop>();
      loop->ReplacePump(std::make_shared<WinIOMessagePump>(), MessageLoop::kIOMessageLoop);
      return loop;
    }
    case MessageLoop::kUIMessageLoop: {
      auto loop = std::make_unique<UIMessageLoop>();
      loop->ReplacePump(std::make_shared<WinUIMessagePump>(), MessageLoop::kUIMessageLoop);
      return loop;
    }
    default:
      break;
  }
  return std::make_unique<MessageLoop>();
}

void FrameworkThread::Run() {
  if (!tls_data) tls_data = new ThreadTlsData{this, 0, -1};
  thread_id_ = CurrentThreadId();
  std::unique_ptr<MessageLoop> loop = CreateLoop();
  {
    std::lock_guard lock(loop_lock_);
    message_loop_ = loop.get();
  }
  Init();
  started_.Signal();
  loop->RunWithDispatcher(dispatcher_);
  Cleanup();
  // A Cleanup that forgot to unregister must not leave the registry pointing at
  // a loop that is about to be deleted.
  while (tls_data->managed > 0) ThreadManager::UnregisterThread();
  {
    std::lock_guard lock(loop_lock_);
    message_loop_ = nullptr;
  }
  loop.reset();
  if (loop_type_ == MessageLoop::kCustomMessageLoop) factory_.reset();
  thread_id_ = 0;
  delete tls_data;
  tls_data = nullptr;
}

}  // namespace nbase
