// The benchmark's own program: from start to the first frame of a layered window
// painted through the platform layer and the render context. Prints
// "first-frame <monotonic ns> <peak resident kB>" once the X server has the frame,
// then exits.
// With --screenshot it stays up until killed (for taking a picture of it).
#include <cstdio>

#include "bench/display/peak_memory.h"
#include <cstring>

#include "bench/display/startup_scene.h"
#include "platform/clock.h"
#include "platform/display/native_window.h"

namespace {

StartupScene g_scene;
bool g_painted = false;

platform::LResult Procedure(platform::WindowHandle window, uint32_t message, platform::WParam wparam,
                            platform::LParam lparam) {
  if (message == platform::kPaint) {
    g_scene.Paint(window);
    platform::ValidateRect(window, nullptr);
    platform::FlushDisplay();
    if (!g_painted) {
      g_painted = true;
      const long long now = platform::PerformanceCounterNanos();
      std::printf("first-frame %lld %ld\n", now, PeakResidentKb());
      std::fflush(stdout);
    }
    return 0;
  }
  return platform::DefDisplayProc(window, message, wparam, lparam);
}

}  // namespace

int main(int argc, char** argv) {
  const char* shadow = argc > 1 ? argv[1] : LUMORA_SHADOW_PNG;
  const bool stay = argc > 2 && std::strcmp(argv[2], "--screenshot") == 0;
  if (!g_scene.Load(shadow)) {
    std::fprintf(stderr, "cannot read %s\n", shadow);
    return 1;
  }
  platform::NativeWindowParams params;
  params.layered = true;
  params.title = "Verimo图片转换器";
  const platform::Rect work = platform::PrimaryMonitor().work;
  params.rect.left = work.left + (work.Width() - StartupScene::kWidth) / 2;
  params.rect.top = work.top + (work.Height() - StartupScene::kHeight) / 2;
  params.rect.right = params.rect.left + StartupScene::kWidth;
  params.rect.bottom = params.rect.top + StartupScene::kHeight;
  const platform::WindowHandle window = platform::CreateNativeWindow(&Procedure, nullptr, params);
  if (!window) {
    std::fprintf(stderr, "no window (is DISPLAY set?)\n");
    return 1;
  }
  platform::ShowWindow(window, platform::kSwShow);
  platform::InvalidateRect(window, nullptr);
  platform::Message m;
  while ((!g_painted || stay) && platform::GetMessage(&m, 0, 0, 0)) platform::DispatchMessage(m);
  return 0;
}
