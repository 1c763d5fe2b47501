// Display benchmarks under the current DISPLAY:
// - start-up: time from starting a program to its first frame on the X server,
//   and its peak memory, for our layered 628 x 428 window (display_startup) and
//   two anchors: a minimal Xlib + Cairo + Pango program and a minimal GTK 3 window;
// - the full-window repaint of that frame (render context + layered update).
// Ends with the ratios of our figures to the Xlib anchor's.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/display/startup_scene.h"
#include "platform/display/native_window.h"

extern char** environ;

namespace {

struct Launch {
  double ms = 0;       // start to first frame
  double cpu_ms = 0;   // processor time the program used (user + system), not slowed by load
  double rss_mb = 0;   // peak resident memory
  bool ok = false;
};

struct Figures {
  std::vector<double> ms;
  std::vector<double> cpu_ms;
  std::vector<double> rss_mb;
};
std::map<std::string, Figures> g_figures;  // per benchmark, for its counters

int64_t NowNs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Min(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

std::string ProgramPath(const char* name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

Launch LaunchOnce(const std::string& program) {
  Launch result;
  int fds[2];
  if (pipe(fds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  pid_t pid = 0;
  const int64_t start = NowNs();
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return result;
  }
  std::string out;
  char buffer[256];
  ssize_t n = 0;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);  // its times are the child's own (its peak memory is not)
  result.cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                  (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  long long frame = 0;
  long peak_kb = 0;
  const size_t at = out.find("first-frame ");
  if (at == std::string::npos || std::sscanf(out.c_str() + at, "first-frame %lld %ld", &frame, &peak_kb) != 2) {
    return result;
  }
  result.ms = static_cast<double>(frame - start) / 1e6;
  result.rss_mb = static_cast<double>(peak_kb) / 1024.0;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

void BM_StartupToFirstFrame(benchmark::State& state, const char* program) {
  const std::string path = ProgramPath(program);
  LaunchOnce(path);  // warm the file and font caches, as a user's second start
  Figures& figures = g_figures[program];
  for (auto _ : state) {
    const Launch l = LaunchOnce(path);
    if (!l.ok) {
      state.SkipWithError("the program showed no frame");
      return;
    }
    state.SetIterationTime(l.ms / 1000.0);
    figures.ms.push_back(l.ms);
    figures.cpu_ms.push_back(l.cpu_ms);
    figures.rss_mb.push_back(l.rss_mb);
  }
  state.counters["peak_rss_MB"] = *std::max_element(figures.rss_mb.begin(), figures.rss_mb.end());
  state.counters["cpu_ms"] = Median(figures.cpu_ms);
}
BENCHMARK_CAPTURE(BM_StartupToFirstFrame, lumora_layered_window, "display_startup")
    ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartupToFirstFrame, anchor_xlib_cairo_pango, "display_anchor_xlib")
    ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartupToFirstFrame, anchor_gtk3_label, "display_anchor_gtk")
    ->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

platform::LResult PlainProcedure(platform::WindowHandle w, uint32_t m, platform::WParam wp, platform::LParam lp) {
  return platform::DefDisplayProc(w, m, wp, lp);
}

void BM_FullWindowRepaint(benchmark::State& state) {
  StartupScene scene;
  if (!scene.Load(LUMORA_SHADOW_PNG)) {
    state.SkipWithError("no shadow picture");
    return;
  }
  platform::NativeWindowParams params;
  params.layered = true;
  params.rect = {100, 100, 100 + StartupScene::kWidth, 100 + StartupScene::kHeight};
  const platform::WindowHandle window = platform::CreateNativeWindow(&PlainProcedure, nullptr, params);
  if (!window) {
    state.SkipWithError("no window");
    return;
  }
  platform::ShowWindow(window, platform::kSwShowNa);
  for (auto _ : state) {
    scene.Paint(window);
    platform::FlushDisplay();  // the frame is on the server
  }
  platform::DestroyWindow(window);
}
BENCHMARK(BM_FullWindowRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // The ratios come from launches taken in turn (ours, Xlib, GTK, ours, ...), so a
  // change of load on the machine weighs on all three alike.
  constexpr int kRounds = 25;
  const char* programs[] = {"display_startup", "display_anchor_xlib", "display_anchor_gtk"};
  Figures rounds[3];
  for (int i = 0; i < kRounds; ++i) {
    for (int p = 0; p < 3; ++p) {
      const Launch l = LaunchOnce(ProgramPath(programs[p]));
      if (!l.ok) continue;
      rounds[p].ms.push_back(l.ms);
      rounds[p].cpu_ms.push_back(l.cpu_ms);
      rounds[p].rss_mb.push_back(l.rss_mb);
    }
  }
  if (rounds[0].ms.empty() || rounds[1].ms.empty()) return 1;
  const char* names[] = {"ours (layered 628x428, nine-grid, text)", "xlib + cairo + pango, one line",
                         "gtk 3, one label"};
  std::printf("\nstart-up to first frame, %d interleaved launches each:\n", kRounds);
  std::printf("  %-42s %10s %10s %10s %10s\n", "", "median ms", "min ms", "cpu ms", "peak MB");
  for (int p = 0; p < 3; ++p) {
    std::printf("  %-42s %10.1f %10.1f %10.1f %10.1f\n", names[p], Median(rounds[p].ms), Min(rounds[p].ms),
                Median(rounds[p].cpu_ms), Median(rounds[p].rss_mb));
  }
  std::printf("  ours / xlib anchor: time %.2fx (median), %.2fx (min), cpu %.2fx, memory %.2fx (aim: within 1.3x)\n",
              Median(rounds[0].ms) / Median(rounds[1].ms), Min(rounds[0].ms) / Min(rounds[1].ms),
              Median(rounds[0].cpu_ms) / Median(rounds[1].cpu_ms), Median(rounds[0].rss_mb) / Median(rounds[1].rss_mb));
  return 0;
}
