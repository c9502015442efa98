// The timing run: the floors first, then the operations, in one process, so
// that every ratio compares figures of the same machine state.
//
// The library writes some texts to standard output at any debug level (the
// blank line after each batch of parameters, for one): standard output goes
// to /dev/null while measuring, the console table to standard error and the
// machine-readable results to --benchmark_out.
#include <stdio.h>
#include <string.h>

#include <iostream>

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

    benchmark::ConsoleReporter objConsole;
    objConsole.SetOutputStream(&std::cerr);
    objConsole.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&objConsole);
    benchmark::Shutdown();
    bench::closeCamera();
    return 0;
}
