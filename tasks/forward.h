#pragma once

// Forward declarations of the task library's types, to keep headers light.
namespace nbase {

class Dispatcher;
class FrameworkThread;
class MessageLoop;
class MessageLoopProxy;
class MessagePump;
class SupportWeakCallback;
class ThreadManager;
class TimeDelta;
class TimerManager;
class WeakCallbackFlag;
class WeakFlag;
template <typename T>
class WeakCallback;
struct PendingTask;

}  // namespace nbase
