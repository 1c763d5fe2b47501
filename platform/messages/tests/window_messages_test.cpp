#include "platform/messages/window_messages.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/messages/tests/watchdog.h"

namespace platform {
namespace {

// Records what a window's procedure saw, and on which thread.
struct Recorder {
  std::vector<uint32_t> messages;
  std::vector<std::thread::id> threads;
};

LResult RecordingProc(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  auto* recorder = static_cast<Recorder*>(GetWindowUserData(window));
  if (recorder) {
    recorder->messages.push_back(message);
    recorder->threads.push_back(std::this_thread::get_id());
  }
  if (message == kUser + 7) return static_cast<LResult>(wparam) + lparam;
  return DefWindowProc(window, message, wparam, lparam);
}

class WindowMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterWindowClass("MessagesTestWindow", &RecordingProc);
    window_ = CreateMessageWindow("MessagesTestWindow", &recorder_);
    ASSERT_NE(window_, 0u);
  }
  void TearDown() override {
    DestroyWindow(window_);
    Message m;
    while (PeekMessage(&m, 0, 0, 0, kPmRemove)) {
    }
  }

  Watchdog watchdog_;
  Recorder recorder_;
  WindowHandle window_ = 0;
};

TEST_F(WindowMessagesTest, PostFromOtherThreadWakesBlockedGetAndRunsOnOwner) {
  std::thread poster([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(PostMessage(window_, kUser + 1, 1, 2));
  });
  Message m;
  ASSERT_TRUE(GetMessage(&m, 0, 0, 0));
  poster.join();
  EXPECT_EQ(m.window, window_);
  EXPECT_EQ(m.message, kUser + 1);
  EXPECT_EQ(m.wparam, 1u);
  EXPECT_EQ(m.lparam, 2);
  DispatchMessage(m);
  ASSERT_EQ(recorder_.messages, std::vector<uint32_t>{kUser + 1});
  EXPECT_EQ(recorder_.threads[0], std::this_thread::get_id());
}

TEST_F(WindowMessagesTest, RetrievalOrderIsPostedThenQuitThenPaintThenTimer) {
  SetTimer(window_, 5, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  InvalidateRect(window_, nullptr);
  PostQuitMessage(3);
  PostMessage(window_, kUser + 2, 0, 0);
  PostMessage(window_, kUser + 3, 0, 0);

  std::vector<uint32_t> order;
  Message m;
  for (int i = 0; i < 5 && PeekMessage(&m, 0, 0, 0, kPmRemove); ++i) {
    order.push_back(m.message);
    if (m.message == kQuit) {
      EXPECT_EQ(m.wparam, 3u);
    }
    if (m.message == kPaint) DispatchMessage(m);  // validates through DefWindowProc
    if (m.message == kTimer) {
      EXPECT_EQ(m.wparam, 5u);
    }
  }
  EXPECT_EQ(order, (std::vector<uint32_t>{kUser + 2, kUser + 3, kQuit, kPaint, kTimer}));
  // One timer message at a time: the next waits a full period after taking it.
  EXPECT_FALSE(PeekMessage(&m, 0, kTimer, kTimer, kPmRemove));
  EXPECT_TRUE(KillTimer(window_, 5));
  EXPECT_FALSE(KillTimer(window_, 5));
}

TEST_F(WindowMessagesTest, FiltersByRangeAndWindowAndCanLeaveTheMessage) {
  PostMessage(window_, kUser + 1, 0, 0);
  PostMessage(window_, kMouseMove, 0, 0);
  Message m;
  EXPECT_FALSE(PeekMessage(&m, window_ + 1000, 0, 0, kPmNoRemove));
  ASSERT_TRUE(PeekMessage(&m, 0, kMouseMove, kMouseLast, kPmNoRemove));
  EXPECT_EQ(m.message, kMouseMove);
  ASSERT_TRUE(PeekMessage(&m, window_, 0, 0, kPmRemove));
  EXPECT_EQ(m.message, kUser + 1);
  ASSERT_TRUE(PeekMessage(&m, 0, 0, 0, kPmRemove));
  EXPECT_EQ(m.message, kMouseMove);
  EXPECT_FALSE(PeekMessage(&m, 0, 0, 0, kPmRemove));
}

TEST_F(WindowMessagesTest, QueueStatusAndWaitSeparateNewFromAlreadySeenInput) {
  PostMessage(window_, kLButtonDown, 0, 0);
  EXPECT_EQ(GetQueueStatus(kQsMouse), (kQsMouseButton << 16) | kQsMouseButton);
  // Seen by the status call: still queued but no longer new.
  EXPECT_EQ(GetQueueStatus(kQsAllInput), (kQsMouseButton << 16));
  EXPECT_EQ(WaitForInput(10, kQsAllInput, 0), WaitResult::kTimeout);
  EXPECT_EQ(WaitForInput(kInfinite, kQsAllInput, kWaitInputAvailable), WaitResult::kInput);
  EXPECT_EQ(WaitForInput(0, kQsKey, kWaitInputAvailable), WaitResult::kTimeout);
  // A due timer counts as input for the wait.
  SetTimer(window_, 9, 5);
  EXPECT_EQ(WaitForInput(2000, kQsTimer, 0), WaitResult::kInput);
  KillTimer(window_, 9);
}

TEST_F(WindowMessagesTest, SendFromOtherThreadIsHandledByOwnerAndReturnsResult) {
  std::atomic<LResult> result{0};
  std::thread sender([&] { result = SendMessage(window_, kUser + 7, 40, 2); });
  while (result == 0) {
    EXPECT_EQ(WaitForInput(kInfinite, kQsSendMessage, kWaitInputAvailable), WaitResult::kInput);
    Message m;
    PeekMessage(&m, 0, 0, 0, kPmNoRemove);  // handles the sent message
    if (result == 0) std::this_thread::yield();
    if (!recorder_.messages.empty()) break;
  }
  sender.join();
  EXPECT_EQ(result, 42);
  ASSERT_EQ(recorder_.threads.size(), 1u);
  EXPECT_EQ(recorder_.threads[0], std::this_thread::get_id());
  EXPECT_EQ(SendMessage(window_, kUser + 7, 1, 1), 2);  // own thread: direct call
}

TEST_F(WindowMessagesTest, HooksConsumeInNewestFirstOrder) {
  std::vector<int> calls;
  int first = AddMessageHook([&](int code, Message&) {
    calls.push_back(1);
    return code == 0x5001;
  });
  int second = AddMessageHook([&](int, Message& m) {
    calls.push_back(2);
    return m.message == kKeyDown;
  });
  Message key;
  key.window = window_;
  key.message = kKeyDown;
  Message other;
  other.window = window_;
  other.message = kUser;
  EXPECT_TRUE(CallMsgFilter(&key, 0x5001));
  EXPECT_TRUE(CallMsgFilter(&other, 0x5001));
  EXPECT_FALSE(CallMsgFilter(&other, 1));
  EXPECT_EQ(calls, (std::vector<int>{2, 2, 1, 2, 1}));
  EXPECT_TRUE(RemoveMessageHook(first));
  EXPECT_TRUE(RemoveMessageHook(second));
  EXPECT_FALSE(CallMsgFilter(&key, 0x5001));
}

TEST_F(WindowMessagesTest, DestroyNotifiesThenForgetsTheWindow) {
  PostMessage(window_, kUser + 1, 0, 0);
  SetTimer(window_, 1, 1);
  InvalidateRect(window_, nullptr);
  ASSERT_TRUE(DestroyWindow(window_));
  EXPECT_EQ(recorder_.messages, (std::vector<uint32_t>{kDestroy, kNcDestroy}));
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_FALSE(PostMessage(window_, kUser, 0, 0));
  EXPECT_EQ(SendMessage(window_, kUser + 7, 1, 1), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  Message m;
  EXPECT_FALSE(PeekMessage(&m, 0, 0, 0, kPmRemove));
}

TEST_F(WindowMessagesTest, WindowsOfAnEndedThreadAreGoneAndOnlyTheOwnerDestroys) {
  WindowHandle foreign = 0;
  std::thread([&] { foreign = CreateMessageWindow("MessagesTestWindow", nullptr); }).join();
  EXPECT_NE(foreign, 0u);
  EXPECT_FALSE(IsWindow(foreign));
  EXPECT_FALSE(PostMessage(foreign, kUser, 0, 0));
  bool destroyed_elsewhere = true;
  std::thread([&] { destroyed_elsewhere = DestroyWindow(window_); }).join();
  EXPECT_FALSE(destroyed_elsewhere);
  EXPECT_TRUE(IsWindowOnCurrentThread(window_));
  EXPECT_EQ(CreateMessageWindow("NoSuchClass", nullptr), 0u);
  EXPECT_FALSE(RegisterWindowClass("MessagesTestWindow", &DefWindowProc));
}

TEST_F(WindowMessagesTest, UpdateRegionUnitesAndValidates) {
  Rect a{0, 0, 10, 10}, b{20, 5, 30, 40};
  InvalidateRect(window_, &a);
  InvalidateRect(window_, &b);
  Rect r;
  ASSERT_TRUE(GetUpdateRect(window_, &r));
  EXPECT_EQ(r, (Rect{0, 0, 30, 40}));
  ValidateRect(window_, &a);  // partly covered: still dirty
  EXPECT_TRUE(GetUpdateRect(window_, &r));
  ValidateRect(window_, nullptr);
  EXPECT_FALSE(GetUpdateRect(window_, &r));
  Message m;
  EXPECT_FALSE(PeekMessage(&m, 0, kPaint, kPaint, kPmRemove));
}

// The native source: a pipe stands in for the display connection.
struct PipeSource {
  int fds[2];
  WindowHandle target;
  int drained = 0;
};

void DrainPipe(void* context) {
  auto* source = static_cast<PipeSource*>(context);
  char c;
  while (read(source->fds[0], &c, 1) == 1) {
    ++source->drained;
    PostInputMessage(Message{source->target, kKeyDown, static_cast<WParam>(c), 0, 0, {}});
  }
}

TEST_F(WindowMessagesTest, NativeSourceWakesTheWaitAndIsDrainedIntoTheQueue) {
  PipeSource source{{-1, -1}, window_};
  ASSERT_EQ(pipe2(source.fds, O_NONBLOCK), 0);
  RegisterNativeSource(source.fds[0], &DrainPipe, &source);
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(write(source.fds[1], "k", 1), 1);
  });
  Message m;
  ASSERT_TRUE(GetMessage(&m, 0, 0, 0));
  writer.join();
  EXPECT_EQ(m.message, kKeyDown);
  EXPECT_EQ(m.wparam, static_cast<WParam>('k'));
  EXPECT_EQ(source.drained, 1);
  RegisterNativeSource(-1, nullptr, nullptr);
  close(source.fds[0]);
  close(source.fds[1]);
}

}  // namespace
}  // namespace platform
