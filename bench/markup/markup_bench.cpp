// Parse throughput of the skin markup reader, side by side with pugixml (copying
// the buffer, and in place) and tinyxml2, on generated skin-like documents of
// about 1 MiB and 4 MiB: nested layouts, attributes, entities, CJK text, UTF-8
// bytes as the reader receives them from a file. Ends with the ratios of the
// medians of five repetitions.

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ui/markup/markup_document.h"
#include "ui/markup/utf.h"

namespace {

// A skin: windows of nested boxes with labels, buttons and options carrying
// the usual attributes, some text content in Chinese, entities and comments.
std::string MakeSkin(size_t target_bytes) {
  std::mt19937 random(42);
  const char* chinese[] = {"安装", "立即体验", "图片转换器", "正在下载，请稍候", "取消", "确定", "选择安装目录"};
  const char* containers[] = {"VBox", "HBox", "Box"};
  std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"600,400\" caption=\"0,0,0,36\">\n";
  int id = 0;
  std::function<void(int)> box = [&](int depth) {
    const char* kind = containers[random() % 3];
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    out += indent + "<" + kind + " name=\"box_" + std::to_string(id++) +
           "\" width=\"stretch\" height=\"auto\" padding=\"8,4,8,4\" bkcolor=\"bk_wnd_lightcolor\" childmargin=\"6\">\n";
    int children = 3 + static_cast<int>(random() % 4);
    for (int i = 0; i < children; ++i) {
      std::string inner = indent + "  ";
      switch (random() % 5) {
        case 0:
          if (depth < 6) {
            box(depth + 1);
            break;
          }
          [[fallthrough]];
        case 1:
          out += inner + "<Label name=\"label_" + std::to_string(id++) +
                 "\" font=\"2\" normaltextcolor=\"textdefaultcolor\" align=\"left\" text=\"" +
                 chinese[random() % 7] + " &amp; " + chinese[random() % 7] + "\"/>\n";
          break;
        case 2:
          out += inner + "<Button class=\"btn_global_blue_80x30\" name=\"btn_" + std::to_string(id++) +
                 "\" margin=\"0,10,0,0\" text=\"&quot;" + chinese[random() % 7] +
                 "&quot;\" tooltiptext=\"a &lt;b&gt; c\"/>\n";
          break;
        case 3:
          out += inner + "<Option group=\"reasons\" name=\"opt_" + std::to_string(id++) +
                 "\" normalimage=\"file='public/option/unselected.png' dest='0,4,14,18'\" selected=\"false\">" +
                 chinese[random() % 7] + "</Option>\n";
          break;
        default:
          out += inner + "<!-- " + chinese[random() % 7] + " -->\n";
          out += inner + "<Control width=\"1\" height=\"12\"/>\n";
      }
    }
    out += indent + "</" + kind + ">\n";
  };
  while (out.size() < target_bytes) box(1);
  out += "</Window>\n";
  return out;
}

const std::string& Skin(int mib) {
  static std::map<int, std::string> skins;
  auto it = skins.find(mib);
  if (it == skins.end()) it = skins.emplace(mib, MakeSkin(static_cast<size_t>(mib) << 20)).first;
  return it->second;
}

void BM_LumoraReader(benchmark::State& state) {
  const std::string& skin = Skin(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ui::MarkupDocument document;
    bool ok = document.LoadFromUtf8(skin);
    if (!ok) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document.Elements().size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * skin.size()));
}

void BM_Pugixml(benchmark::State& state) {
  const std::string& skin = Skin(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pugi::xml_document document;
    if (!document.load_buffer(skin.data(), skin.size())) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document.first_child());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * skin.size()));
}

void BM_PugixmlInPlace(benchmark::State& state) {
  const std::string& skin = Skin(static_cast<int>(state.range(0)));
  std::string buffer;
  for (auto _ : state) {
    state.PauseTiming();
    buffer = skin;
    state.ResumeTiming();
    pugi::xml_document document;
    if (!document.load_buffer_inplace(buffer.data(), buffer.size())) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document.first_child());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * skin.size()));
}

void BM_Tinyxml2(benchmark::State& state) {
  const std::string& skin = Skin(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    tinyxml2::XMLDocument document;
    if (document.Parse(skin.data(), skin.size()) != tinyxml2::XML_SUCCESS) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(document.FirstChild());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * skin.size()));
}

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string& skin = Skin(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ui::Utf8ToUtf16(skin));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * skin.size()));
}

BENCHMARK(BM_LumoraReader)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Pugixml)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PugixmlInPlace)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Tinyxml2)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Utf8ToUtf16)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Prints the usual table, then the reader's speed against the others.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // The median of the repetitions (the machine is shared; medians steady it).
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      auto it = run.counters.find("bytes_per_second");
      if (it == run.counters.end()) continue;
      std::string name = run.run_name.str();
      name = name.substr(0, name.find("/repeats:"));
      speeds_[name] = it->second.value;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* size : {"1", "4"}) {
      double ours = speeds_["BM_LumoraReader/" + std::string(size)];
      if (ours == 0) continue;
      std::printf("%s MiB: reader %.0f MB/s", size, ours / 1e6);
      for (const char* other : {"BM_Pugixml", "BM_PugixmlInPlace", "BM_Tinyxml2"}) {
        double theirs = speeds_[std::string(other) + "/" + size];
        if (theirs > 0) std::printf(", %.2fx %s", ours / theirs, other + 3);
      }
      std::printf("\n");
    }
  }

 private:
  std::map<std::string, double> speeds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
