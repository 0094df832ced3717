// CPU cost of one whole collection on the built-in virtual remote with the
// real clock: nothing is pressed, so the collector polls back to back until
// its 7-second limit. Only the remote's transfer time keeps the polls from
// spinning a core; cpu_percent is the process's CPU time over the wall time,
// in percent of one core.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "device/CodeCollector.h"
#include "device/VirtualRemote.h"
#include "tests/support/TestDispatcher.h"

namespace {

using kv::device::CollectorPorts;
using kv::device::TCollectCode;

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void SevenSecondCollection(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kv-bench-collection-" + std::to_string(getpid()));
    kv::device::SystemClock clock;
    kv::device::TransferTimes times;
    times.capturePoll = std::chrono::milliseconds(state.range(0));
    auto opened =
        kv::device::VirtualRemote::Open(folder, clock, kv::device::DefaultRemoteIdentity(), times);
    if (!opened.remote) {
        state.SkipWithError(opened.error.c_str());
        return;
    }
    kv::test::TestDispatcher ui;
    for (auto _ : state) {
        std::atomic<int> collectControl{kv::device::kCollectMayRun};
        std::unique_ptr<TCollectCode> collector;
        bool ended = false;
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        kv::device::StartCollection(collector, collectControl,
                                    CollectorPorts{*opened.remote, clock, ui}, [&](std::string) {
                                        collector.reset();
                                        ended = true;
                                    });
        if (!ui.RunUntil([&] { return ended; })) {
            state.SkipWithError("the collection did not end");
            break;
        }
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
        state.counters["cpu_percent"] = 100.0 * (ProcessCpuSeconds() - cpuBefore) / wall.count();
        state.counters["seconds"] = wall.count();
    }
    opened.remote.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// The virtual remote's own poll time (5 ms), and a faster one.
BENCHMARK(SevenSecondCollection)
    ->Arg(5)
    ->Arg(1)
    ->ArgName("poll_ms")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
