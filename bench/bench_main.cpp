// The timing run: the floors first, then the operations, in one process, so
// that every ratio compares figures of the same machine state.
//
// The library writes some texts to standard output at any debug level (the
// blank line after each batch of parameters, for one): standard output goes
// to /dev/null while measuring, the console table to standard error and the
// machine-readable results to --benchmark_out.
#include <stdio.h>
#include <string.h>

#include <chrono>
#include <iostream>
#include <thread>

#include <benchmark/benchmark.h>

#include "BenchCamera.h"
#include "BenchOps.h"

namespace {

void registerAll(const std::vector<bench::Operation>& p_vecOps)
{
    for (const bench::Operation& stOp : p_vecOps) {
        benchmark::internal::Benchmark* pBench =
            benchmark::RegisterBenchmark(stOp.szName, [stOp](benchmark::State& p_objState) {
                if (stOp.pfnSetup != nullptr) stOp.pfnSetup();
                long nRun = 0;
                for (auto _ : p_objState) stOp.pfnRun(nRun++);
                if (stOp.pfnTeardown != nullptr) stOp.pfnTeardown();
            });
        if (strncmp(stOp.szName, "init", 4) == 0) pBench->Unit(benchmark::kMicrosecond);
    }
}

// uinit of a camera whose thread sleeps its real second between passes:
// stopping wakes the thread, so this is the time a host waits per channel
// (wall clock, as the wait is no work of the calling thread). Timed only.
void uinitWaking(benchmark::State& p_objState)
{
    bench::camera().uinit();
    for (auto _ : p_objState) {
        p_objState.PauseTiming();
        bench::briefSleep();
        bench::camera().init(bench::cameraModule());
        bench::realTimeThread();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the thread is inside its pause
        p_objState.ResumeTiming();
        bench::camera().uinit();
    }
    bench::briefSleep();
    bench::camera().init(bench::cameraModule());
    bench::realTimeThread();
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (freopen("/dev/null", "w", stdout) == nullptr) {
        perror("bench: /dev/null");
        return 1;
    }
    if (!bench::openCamera()) return 1;
    registerAll(bench::floors());
    registerAll(bench::operations());
    benchmark::RegisterBenchmark("uinit(thread pausing)", uinitWaking)->Unit(benchmark::kMicrosecond)->UseRealTime();

    benchmark::ConsoleReporter objConsole;
    objConsole.SetOutputStream(&std::cerr);
    objConsole.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&objConsole);
    benchmark::Shutdown();
    bench::closeCamera();
    return 0;
}
