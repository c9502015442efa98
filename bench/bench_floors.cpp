// The floors: what one diagnostic site costs when the operator's control
// file is absent (one existence test), and one call of the image-algorithm
// entry without the controller around it.
#include <benchmark/benchmark.h>

#include "BenchOps.h"
#include "FlashLayout.h"
#include "IaInterface.h"
#include "PKFile.h"
#include "SensorKeys.h"
#include "SensorTypes.h"

namespace bench {

namespace {

void existenceTest(benchmark::State& p_objState)
{
    for (auto _ : p_objState) benchmark::DoNotOptimize(PKFile::isExist(SNS_PATH_DEBUG_SIGN));
}

void iaCall(benchmark::State& p_objState)
{
    u32 nVal = 0;
    for (auto _ : p_objState) {
        nVal ^= 1;
        benchmark::DoNotOptimize(ia_ioctrl_v2(0, KEY_BRIGHTNESS, IA_CMD_OPT_SET, &nVal));
    }
}

}  // namespace

void registerFloors()
{
    benchmark::RegisterBenchmark("floor:existence_test", existenceTest);
    benchmark::RegisterBenchmark("floor:ia_ioctrl_v2", iaCall);
}

}  // namespace bench
