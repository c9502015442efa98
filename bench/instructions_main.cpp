// The instruction count run of one operation, under callgrind:
//   sensor_instructions NAME RUNS
// runs the operation twice unmeasured, then RUNS times inside measuredRuns,
// the only function whose instructions callgrind collects
// (--collect-atstart=no --toggle-collect=measuredRuns). Other threads (the
// controller's sensor thread) never enter it and are not counted.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "BenchCamera.h"
#include "BenchOps.h"

extern "C" __attribute__((noinline)) void measuredRuns(const bench::Operation* p_pOp, long p_nFirst,
                                                       long p_nCount)
{
    for (long i = 0; i < p_nCount; ++i) p_pOp->pfnRun(p_nFirst + i);
    // Keeps the loop a call of its own even at -O3.
    __asm__ volatile("" ::: "memory");
}

namespace {

const bench::Operation* findOperation(const char* p_szName)
{
    for (const std::vector<bench::Operation>* pList : {&bench::floors(), &bench::operations()})
        for (const bench::Operation& stOp : *pList)
            if (strcmp(stOp.szName, p_szName) == 0) return &stOp;
    return nullptr;
}

// Warm-up runs: first-use allocations and lazy bindings stay out of the figure;
// an even count keeps alternating operations in step.
const long kWarmUpRuns = 2;

}  // namespace

int main(int argc, char** argv)
{
    const long nRuns = argc == 3 ? atol(argv[2]) : 0;
    const bench::Operation* pOp = argc == 3 ? findOperation(argv[1]) : nullptr;
    if (pOp == nullptr || nRuns <= 0) {
        fprintf(stderr, "usage: sensor_instructions OPERATION RUNS\noperations:");
        for (const std::vector<bench::Operation>* pList : {&bench::floors(), &bench::operations()})
            for (const bench::Operation& stOp : *pList) fprintf(stderr, " %s", stOp.szName);
        fprintf(stderr, "\n");
        return 2;
    }
    if (freopen("/dev/null", "w", stdout) == nullptr) {
        perror("instructions: /dev/null");
        return 1;
    }
    if (!bench::openCamera()) return 1;
    if (pOp->pfnSetup != nullptr) pOp->pfnSetup();
    for (long i = 0; i < kWarmUpRuns; ++i) pOp->pfnRun(i);
    measuredRuns(pOp, kWarmUpRuns, nRuns);
    if (pOp->pfnTeardown != nullptr) pOp->pfnTeardown();
    bench::closeCamera();
    return 0;
}
