// Costs of the skin path of a window: build "basic/basic.xml" into controls,
// lay the tree out at a new client size, and paint it into a 600 x 400 target.
#include <benchmark/benchmark.h>

#include <memory>

#include "ui/builder/skin_builder.h"
#include "ui/core/headless_window.h"
#include "ui/markup/utf.h"
#include "ui/render/render_context.h"
#include "ui/resources/global_resources.h"

namespace {

ui::GlobalResources& Resources() {
  static ui::GlobalResources& res = [] () -> ui::GlobalResources& {
    ui::GlobalResources& r = ui::GlobalResources::Instance();
    r.Initialize(ui::Utf8ToUtf16(LUMORA_THEME_DIR), nullptr, u"", u"lang");
    return r;
  }();
  return res;
}

std::unique_ptr<ui::HeadlessWindow> BuildMainWindow() {
  auto window = std::make_unique<ui::HeadlessWindow>();
  window->SetResourcePath(u"basic");
  ui::SkinBuilder builder;
  window->AttachRoot(builder.Build(u"basic/basic.xml", nullptr, window.get()));
  return window;
}

void BM_BuildMainWindow(benchmark::State& state) {
  Resources();
  for (auto _ : state) {
    auto window = BuildMainWindow();
    benchmark::DoNotOptimize(window->GetRoot());
  }
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMicrosecond);

void BM_LayoutMainWindow(benchmark::State& state) {
  Resources();
  auto window = BuildMainWindow();
  int step = 0;
  for (auto _ : state) {
    // A different size each time, so the whole tree is measured and placed.
    window->Arrange({600 + (step++ % 2), 400});
  }
}
BENCHMARK(BM_LayoutMainWindow)->Unit(benchmark::kMicrosecond);

void BM_PaintMainWindow(benchmark::State& state) {
  Resources();
  auto window = BuildMainWindow();
  window->Arrange({600, 400});
  auto target = Resources().RenderFactory()->CreateRenderContext();
  target->Resize(600, 400);
  window->SetRenderContext(target.get());
  for (auto _ : state) {
    target->Clear();
    window->Paint(target.get(), {0, 0, 600, 400});
    benchmark::DoNotOptimize(target->GetBits());
  }
}
BENCHMARK(BM_PaintMainWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
