// Cross-thread posting throughput, ping-pong round trips and the UI pump, for the
// task library and three anchors run in the same binary.
#include <benchmark/benchmark.h>
#include <uv.h>

#include <algorithm>
#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "tasks/framework_thread.h"
#include "tasks/message_loop_proxy.h"
#include "tasks/ui_message_loop.h"
#include "tasks/win_ui_message_pump.h"

namespace {

using Task = std::function<void()>;
using Clock = std::chrono::steady_clock;

constexpr int kThroughputTasks = 5'000'000;
constexpr int kRoundTrips = 20'000;
constexpr int kUIPosts = 100'000;

// --- Contenders behind one shape: a loop on its own thread that takes tasks from any thread.

// The anchor: mutex + deque swapped out in batches, woken only on empty to non-empty.
class MinimalLoop {
 public:
  MinimalLoop() : thread_([this] { Run(); }) {}
  ~MinimalLoop() {
    Post([this] { stop_ = true; });
    thread_.join();
  }
  void Post(Task task) {
    bool was_empty;
    {
      std::lock_guard lock(mutex_);
      was_empty = queue_.empty();
      queue_.push_back(std::move(task));
    }
    if (was_empty) cv_.notify_one();
  }

 private:
  void Run() {
    std::deque<Task> batch;
    while (!stop_) {
      {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return !queue_.empty(); });
        batch.swap(queue_);
      }
      for (Task& task : batch) task();
      batch.clear();
    }
  }

  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Task> queue_;
  bool stop_ = false;  // loop thread only
  std::thread thread_;
};

// libuv: a mutex queue drained by an async handle.
class UvLoop {
 public:
  UvLoop() {
    std::promise<void> ready;
    thread_ = std::thread([this, &ready] {
      uv_loop_init(&loop_);
      uv_async_init(&loop_, &async_, &OnAsync);
      async_.data = this;
      ready.set_value();
      uv_run(&loop_, UV_RUN_DEFAULT);
      uv_loop_close(&loop_);
    });
    ready.get_future().wait();
  }
  ~UvLoop() {
    Post([this] { uv_close(reinterpret_cast<uv_handle_t*>(&async_), nullptr); });
    thread_.join();
  }
  void Post(Task task) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(task));
    }
    uv_async_send(&async_);
  }

 private:
  static void OnAsync(uv_async_t* async) {
    auto* self = static_cast<UvLoop*>(async->data);
    std::vector<Task> batch;
    {
      std::lock_guard lock(self->mutex_);
      batch.swap(self->queue_);
    }
    for (Task& task : batch) task();
  }

  uv_loop_t loop_;
  uv_async_t async_;
  std::mutex mutex_;
  std::vector<Task> queue_;
  std::thread thread_;
};

class AsioLoop {
 public:
  AsioLoop() : guard_(io_.get_executor()), thread_([this] { io_.run(); }) {}
  ~AsioLoop() {
    guard_.reset();
    thread_.join();
  }
  void Post(Task task) { boost::asio::post(io_, std::move(task)); }

 private:
  boost::asio::io_context io_;
  boost::asio::executor_work_guard<boost::asio::io_context::executor_type> guard_;
  std::thread thread_;
};

// nbase: a framework thread with the default (event) pump.
class NbaseLoop {
 public:
  explicit NbaseLoop(bool through_proxy) : thread_("bench"), through_proxy_(through_proxy) {
    thread_.StartWithLoop(nbase::MessageLoop::kDefaultMessageLoop);
    loop_ = thread_.message_loop();
    proxy_ = loop_->message_loop_proxy();
  }
  ~NbaseLoop() {
    proxy_.reset();
    thread_.Stop();
  }
  void Post(Task task) {
    if (through_proxy_) {
      proxy_->PostTask(std::move(task));
    } else {
      loop_->PostTask(std::move(task));
    }
  }

 private:
  nbase::FrameworkThread thread_;
  nbase::MessageLoop* loop_ = nullptr;
  std::shared_ptr<nbase::MessageLoopProxy> proxy_;
  bool through_proxy_;
};

template <typename Loop>
std::unique_ptr<Loop> MakeLoop(int variant) {
  if constexpr (std::is_same_v<Loop, NbaseLoop>) {
    return std::make_unique<NbaseLoop>(variant == 1);
  } else {
    (void)variant;
    return std::make_unique<Loop>();
  }
}

// --- Throughput: one producer, the loop's thread running 5 million empty tasks.
template <typename Loop>
void BM_Throughput(benchmark::State& state) {
  auto loop = MakeLoop<Loop>(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int64_t ran = 0;  // loop thread only
    std::promise<void> done;
    int64_t* counter = &ran;
    for (int i = 0; i < kThroughputTasks - 1; ++i) loop->Post([counter] { ++*counter; });
    loop->Post([&] { done.set_value(); });
    done.get_future().wait();
    benchmark::DoNotOptimize(ran);
  }
  state.SetItemsProcessed(state.iterations() * kThroughputTasks);
}

// --- Ping-pong: a task on loop A posts to B, which posts back to A.
template <typename Loop>
void BM_PingPong(benchmark::State& state) {
  auto a = MakeLoop<Loop>(static_cast<int>(state.range(0)));
  auto b = MakeLoop<Loop>(static_cast<int>(state.range(0)));
  std::vector<double> trips;
  trips.reserve(kRoundTrips);
  for (auto _ : state) {
    trips.clear();
    std::promise<void> done;
    std::function<void()> ping;
    Clock::time_point start;
    ping = [&] {
      start = Clock::now();
      b->Post([&] {
        a->Post([&] {
          trips.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
          if (trips.size() < static_cast<size_t>(kRoundTrips)) {
            ping();
          } else {
            done.set_value();
          }
        });
      });
    };
    a->Post(ping);
    done.get_future().wait();
  }
  std::sort(trips.begin(), trips.end());
  state.counters["median_us"] = trips[trips.size() / 2];
  state.counters["p99_us"] = trips[trips.size() * 99 / 100];
}

// --- The UI pump: 100,000 posts from a worker to the UI thread.
void BM_UIPump(benchmark::State& state) {
  auto loop = std::make_unique<nbase::UIMessageLoop>();
  auto pump = std::make_shared<nbase::WinUIMessagePump>();
  loop->ReplacePump(pump, nbase::MessageLoop::kUIMessageLoop);
  uint64_t wake_ups = 0;
  for (auto _ : state) {
    uint64_t before = pump->wake_ups_posted();
    int ran = 0;
    std::thread producer([&] {
      for (int i = 0; i < kUIPosts - 1; ++i) loop->PostTask([&ran] { ++ran; });
      loop->PostTask([&ran] {
        ++ran;
        nbase::MessageLoop::current()->Quit();
      });
    });
    loop->Run();
    producer.join();
    benchmark::DoNotOptimize(ran);
    wake_ups += pump->wake_ups_posted() - before;
  }
  state.SetItemsProcessed(state.iterations() * kUIPosts);
  state.counters["wake_ups_per_run"] = static_cast<double>(wake_ups) / static_cast<double>(state.iterations());
}

}  // namespace

// The machines are shared: each figure is the best of several runs (the least
// disturbed one), next to the median.
double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

template <int kRepetitions>
void Repeat(benchmark::internal::Benchmark* b) {
  b->Repetitions(kRepetitions)
      ->Iterations(1)
      ->ComputeStatistics("min", Min)
      ->ComputeStatistics("max", Max)
      ->ReportAggregatesOnly(true)
      ->UseRealTime()
      ->MeasureProcessCPUTime()
      ->Unit(benchmark::kMillisecond);
}

// Arg 0: nbase posting to the loop directly; 1: through its proxy (as ThreadManager does).
BENCHMARK_TEMPLATE(BM_Throughput, NbaseLoop)->Arg(0)->Arg(1)->Apply(Repeat<7>);
BENCHMARK_TEMPLATE(BM_Throughput, MinimalLoop)->Arg(0)->Apply(Repeat<7>);
BENCHMARK_TEMPLATE(BM_Throughput, UvLoop)->Arg(0)->Apply(Repeat<7>);
BENCHMARK_TEMPLATE(BM_Throughput, AsioLoop)->Arg(0)->Apply(Repeat<7>);
BENCHMARK_TEMPLATE(BM_PingPong, NbaseLoop)->Arg(1)->Apply(Repeat<3>);
BENCHMARK_TEMPLATE(BM_PingPong, MinimalLoop)->Arg(0)->Apply(Repeat<3>);
BENCHMARK_TEMPLATE(BM_PingPong, UvLoop)->Arg(0)->Apply(Repeat<3>);
BENCHMARK_TEMPLATE(BM_PingPong, AsioLoop)->Arg(0)->Apply(Repeat<3>);
BENCHMARK(BM_UIPump)->Apply(Repeat<7>);

BENCHMARK_MAIN();
