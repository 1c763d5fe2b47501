#include "platform/display/tests/display_fixture.h"

#include <X11/keysym.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/display/folder_chooser.h"
#include "platform/display/message_box.h"
#include "platform/display/message_box_dialog.h"
#include "platform/display/tooltip_window.h"

namespace platform::testing {
namespace {

// Acts on the dialog from inside its nested loop: a timer of a hidden window checks
// every 20 ms whether the dialog is on screen, then runs the action once. After 5 s
// it closes the dialog, so a test that fails never hangs.
struct Driver {
  std::function<bool()> ready;
  std::function<void()> action;
  bool acted = false;
  std::chrono::steady_clock::time_point deadline;
  int ticks_seen = 0;
};
Driver* g_driver = nullptr;

LResult DriverProcedure(WindowHandle window, uint32_t message, WParam wparam, LParam lparam) {
  if (message == kTimer && g_driver) {
    ++g_driver->ticks_seen;
    if (!g_driver->ready) return 0;
    if (!g_driver->acted && g_driver->ready()) {
      g_driver->acted = true;
      g_driver->action();
    } else if (std::chrono::steady_clock::now() > g_driver->deadline) {
      if (MessageBoxDialog* d = MessageBoxDialog::Active()) PostMessage(d->window(), kClose, 0, 0);
    }
    return 0;
  }
  return DefWindowProc(window, message, wparam, lparam);
}

class DialogTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    if (IsSkipped()) return;
    RegisterWindowClass("DialogTestDriver", &DriverProcedure);
    driver_window_ = CreateMessageWindow("DialogTestDriver", nullptr);
    driver_.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    g_driver = &driver_;
    SetTimer(driver_window_, 1, 20);
  }
  void TearDown() override {
    g_driver = nullptr;
    if (driver_window_) DestroyWindow(driver_window_);
    DisplayTest::TearDown();
  }

  // Ready when the innermost message box is mapped on the server.
  bool BoxOnScreen() {
    MessageBoxDialog* d = MessageBoxDialog::Active();
    if (!d) return false;
    XWindowAttributes attrs{};
    return XGetWindowAttributes(input_, NativeWindowId(d->window()), &attrs) && attrs.map_state == IsViewable;
  }
  Rect RectOfBox() {
    Rect r;
    GetWindowRect(MessageBoxDialog::Active()->window(), &r);
    return r;
  }
  void ClickButton(int id) {
    const Rect r = MessageBoxDialog::Active()->ButtonScreenRect(id);
    MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Click(1);
  }

  Driver driver_;
  WindowHandle driver_window_ = 0;
};

TEST_F(DialogTest, MessageBoxAnswersWithTheButtonClicked) {
  Recorder* r = nullptr;
  const WindowHandle owner = MakeWindow({100, 100, 700, 500}, &r);
  struct Case {
    uint32_t type;
    std::function<void()> act;
    int expected;
    const char* what;
  };
  const Case cases[] = {
      {kMbRetryCancel, [this] { ClickButton(kIdRetry); }, kIdRetry, "click Retry"},
      {kMbRetryCancel, [this] { ClickButton(kIdCancel); }, kIdCancel, "click Cancel"},
      {kMbRetryCancel, [this] { Tap(XK_Return); }, kIdRetry, "Return answers the first button"},
      {kMbRetryCancel, [this] { Tap(XK_Escape); }, kIdCancel, "Escape cancels"},
      {kMbOk | kMbIconError,
       [] { PostMessage(MessageBoxDialog::Active()->window(), kClose, 0, 0); }, kIdOk,
       "closing an OK box answers OK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    driver_ = Driver{};
    driver_.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool owner_disabled_while_shown = false;
    driver_.ready = [this] { return BoxOnScreen(); };
    driver_.action = [&, this] {
      owner_disabled_while_shown = !IsWindowEnabled(owner);
      if (std::string(c.what) == "click Retry") Screenshot(RectOfBox(), "message_box_retry_cancel.png");
      if (c.type & kMbIconError) Screenshot(RectOfBox(), "message_box_error.png");
      c.act();
    };
    const int answer = MessageBox(owner, "Verimo图片转换器 安装程序已经在运行，请关闭后点击\"重试\"继续，或点击\"取消\"退出安装",
                                  "Verimo图片转换器安装提示", c.type);
    EXPECT_EQ(answer, c.expected);
    EXPECT_TRUE(driver_.acted);
    EXPECT_TRUE(owner_disabled_while_shown);
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner takes input again";
    EXPECT_EQ(MessageBoxDialog::Active(), nullptr);
    // Release the pointer over nothing of the next box.
    MovePointer(5, 5);
  }
  EXPECT_GT(driver_.ticks_seen, 0) << "the thread's other windows kept getting messages";
}

TEST_F(DialogTest, QuitEndsTheBoxAndReachesTheOuterLoop) {
  driver_.ready = [this] { return BoxOnScreen(); };
  driver_.action = [] { PostQuitMessage(3); };
  EXPECT_EQ(MessageBox(0, "text", "caption", kMbRetryCancel), kIdCancel);
  Message m;
  bool quit_seen = false;
  while (!quit_seen && PeekMessage(&m, 0, 0, 0, kPmRemove)) quit_seen = m.message == kQuit;
  EXPECT_TRUE(quit_seen);
  EXPECT_EQ(m.wparam, 3u);
}

TEST_F(DialogTest, TooltipShowsBelowThePointerAndHides) {
  Recorder* r = nullptr;
  const WindowHandle owner = MakeWindow({100, 100, 500, 400}, &r);
  MovePointer(200, 200);
  TooltipWindow tip(owner);
  EXPECT_EQ(tip.InitialDelay(), 500u);
  tip.SetMaxTipWidth(300);
  tip.UpdateTool("Verimo图片转换器: choose where to install", {50, 50, 150, 80});
  tip.Activate(true);
  ASSERT_TRUE(WaitViewable(tip.window()));
  PumpFor(50);
  Rect rect;
  ASSERT_TRUE(GetWindowRect(tip.window(), &rect));
  EXPECT_EQ(rect.left, 200);
  EXPECT_GT(rect.top, 200);
  EXPECT_GT(rect.Width(), 100);
  EXPECT_NE(ScreenPixel(rect.left + 1, rect.top + 1), ScreenPixel(rect.left - 5, rect.top - 5)) << "the tip is drawn";
  Screenshot({rect.left - 110, rect.top - 110, rect.right + 20, rect.bottom + 20}, "tooltip.png");
  tip.Activate(false);
  EXPECT_FALSE(tip.visible());
  // Near the right edge the tip is kept on the monitor.
  MovePointer(1270, 300);
  tip.Activate(true);
  ASSERT_TRUE(GetWindowRect(tip.window(), &rect));
  EXPECT_LE(rect.right, 1280);
}

class FolderChooserTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    if (IsSkipped()) return;
    dir_ = std::filesystem::temp_directory_path() / ("lumora-chooser-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_ / "picked folder");
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  }
  void TearDown() override {
    unsetenv("LUMORA_FOLDER_CHOOSER");
    setenv("PATH", saved_path_.c_str(), 1);
    std::filesystem::remove_all(dir_);
    DisplayTest::TearDown();
  }
  std::string Script(const std::string& name, const std::string& body) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
  }
  std::filesystem::path dir_;
  std::string saved_path_;
};

TEST_F(FolderChooserTest, ScriptedChooserAnswersAndCancels) {
  Recorder* r = nullptr;
  const WindowHandle owner = MakeWindow({100, 100, 300, 250}, &r);
  const std::string picked = (dir_ / "picked folder").string();
  struct Case {
    std::string body;
    bool chosen;
    const char* what;
  };
  const Case cases[] = {
      {"sleep 0.2; echo \"" + picked + "\"", true, "a folder is chosen"},
      {"exit 1", false, "the user cancels"},
      {"echo /no/such/folder", false, "an answer that is no folder"},
      {"echo relative/path", false, "an answer that is no absolute path"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setenv("LUMORA_FOLDER_CHOOSER", Script("chooser" + std::to_string(n++), c.body).c_str(), 1);
    const FolderChoice choice = ChooseFolder(owner, "请选择安装路径", "/tmp");
    EXPECT_EQ(choice.chosen, c.chosen);
    EXPECT_EQ(choice.status, c.chosen ? "chosen" : "cancelled");
    EXPECT_EQ(choice.path, c.chosen ? picked : "");
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
  // The chooser gets the title and the starting folder the way zenity takes them.
  setenv("LUMORA_FOLDER_CHOOSER",
         Script("args", "for a in \"$@\"; do echo \"$a\"; done > \"" + (dir_ / "args.txt").string() + "\"; exit 1").c_str(),
         1);
  ChooseFolder(owner, "请选择安装路径", "/tmp");
  std::ifstream args(dir_ / "args.txt");
  std::string all((std::istreambuf_iterator<char>(args)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all, "--file-selection\n--directory\n--title=请选择安装路径\n--filename=/tmp/\n");
}

TEST_F(FolderChooserTest, NoChooserMeansCancelled) {
  setenv("LUMORA_FOLDER_CHOOSER", (dir_ / "missing").c_str(), 1);
  EXPECT_EQ(ChooseFolder(0, "t", "/tmp").status, "cancelled");
  unsetenv("LUMORA_FOLDER_CHOOSER");
  setenv("PATH", dir_.c_str(), 1);  // neither zenity nor kdialog here
  const FolderChoice choice = ChooseFolder(0, "t", "/tmp");
  EXPECT_FALSE(choice.chosen);
  EXPECT_EQ(choice.status, "cancelled");
}

}  // namespace
}  // namespace platform::testing
