// The benchmark run: the floors first, then the operations, in one process,
// so that every ratio compares figures of the same machine state.
//
// The library writes some texts to standard output at any debug level (the
// blank line after each batch of parameters, for one): standard output goes
// to /dev/null while measuring, the console table to standard error and the
// machine-readable results to --benchmark_out.
#include <stdio.h>

#include <iostream>

#include <benchmark/benchmark.h>

#include "BenchCamera.h"
#include "BenchOps.h"

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (freopen("/dev/null", "w", stdout) == nullptr) {
        perror("bench: /dev/null");
        return 1;
    }
    if (!bench::openCamera()) return 1;
    bench::registerFloors();
    bench::registerOperations();

    benchmark::ConsoleReporter objConsole;
    objConsole.SetOutputStream(&std::cerr);
    objConsole.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&objConsole);
    benchmark::Shutdown();
    bench::closeCamera();
    return 0;
}
