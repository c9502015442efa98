// The host operations on the sample camera (channel 1, default debug level).
#include <chrono>
#include <string>
#include <thread>

#include <benchmark/benchmark.h>

#include "BenchCamera.h"
#include "BenchOps.h"
#include "SensorKeys.h"

namespace bench {

namespace {

void setParameterNew(benchmark::State& p_objState)
{
    int nVal = 50;
    for (auto _ : p_objState) {
        nVal ^= 1;  // differs from the cached value every time
        benchmark::DoNotOptimize(camera().setParameter(KEY_BRIGHTNESS, nVal, true));
    }
}

void setParameterSame(benchmark::State& p_objState)
{
    camera().setParameter(KEY_BRIGHTNESS, 50, true);
    for (auto _ : p_objState) benchmark::DoNotOptimize(camera().setParameter(KEY_BRIGHTNESS, 50, true));
}

void getParameterCached(benchmark::State& p_objState)
{
    int nVal = 0;
    for (auto _ : p_objState) benchmark::DoNotOptimize(camera().getParameter(KEY_BRIGHTNESS, nVal));
}

// Schemes 0 and 1 differ in kSwitchKeyCount keys: each switch sends those.
void schemeSwitch(benchmark::State& p_objState)
{
    int nScheme = 0;
    for (auto _ : p_objState) {
        nScheme ^= 1;
        benchmark::DoNotOptimize(camera().setParamScheme(nScheme));
    }
    camera().setParamScheme(0);
}

// Every value of the scheme is sent, as when a time window is entered.
void fullSwitch(benchmark::State& p_objState)
{
    int nScheme = 0;
    for (auto _ : p_objState) {
        nScheme ^= 1;
        benchmark::DoNotOptimize(camera().switch_to(nScheme, true));
    }
    camera().setParamScheme(0);
}

void allParameters(benchmark::State& p_objState)
{
    std::string strOut;
    for (auto _ : p_objState) {
        strOut.clear();
        benchmark::DoNotOptimize(camera().getAllParameters(strOut));
    }
}

void uiStyleFile(benchmark::State& p_objState)
{
    for (auto _ : p_objState) benchmark::DoNotOptimize(camera().getUIStyleFile());
}

// uinit then init of the running camera; the thread's second between passes
// (init runs one pass itself) is cut to 10 us, so it is not part of the figure.
void initCycle(benchmark::State& p_objState)
{
    briefSleep();
    // The running thread may be in a pass that sleeps its real second.
    camera().uinit();
    camera().init(cameraModule());
    for (auto _ : p_objState) {
        camera().uinit();
        benchmark::DoNotOptimize(camera().init(cameraModule()));
    }
    realTimeThread();
}

// uinit of a camera whose thread sleeps its real second between passes:
// stopping wakes the thread, so this is the time a host waits per channel
// (wall clock, as the wait is no work of the calling thread).
void uinitWaking(benchmark::State& p_objState)
{
    camera().uinit();
    for (auto _ : p_objState) {
        p_objState.PauseTiming();
        briefSleep();
        camera().init(cameraModule());
        realTimeThread();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the thread is inside its pause
        p_objState.ResumeTiming();
        camera().uinit();
    }
    briefSleep();
    camera().init(cameraModule());
    realTimeThread();
}

}  // namespace

void registerOperations()
{
    benchmark::RegisterBenchmark("setParameter(new)", setParameterNew);
    benchmark::RegisterBenchmark("setParameter(same)", setParameterSame);
    benchmark::RegisterBenchmark("getParameter(cached)", getParameterCached);
    benchmark::RegisterBenchmark("switch(10_keys)", schemeSwitch);
    benchmark::RegisterBenchmark("switch(full)", fullSwitch);
    benchmark::RegisterBenchmark("getAllParameters", allParameters);
    benchmark::RegisterBenchmark("getUIStyleFile", uiStyleFile);
    benchmark::RegisterBenchmark("init+uinit", initCycle)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("uinit(thread pausing)", uinitWaking)->Unit(benchmark::kMicrosecond)->UseRealTime();
}

}  // namespace bench
