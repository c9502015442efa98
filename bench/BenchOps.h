// The measured operations, shared by the timing run (Google Benchmark) and
// the instruction count run (callgrind), in the order they run.
#ifndef BENCH_OPS_H
#define BENCH_OPS_H

#include <vector>

namespace bench {

struct Operation {
    const char* szName;
    void (*pfnSetup)();  // before the first run; may be null
    // One run; p_nRun counts from 0, so alternating operations know their turn.
    void (*pfnRun)(long p_nRun);
    void (*pfnTeardown)();  // after the last run; may be null
};

// "floor:existence_test", "floor:ia_ioctrl_v2" and "floor:file_read": what
// each operation is expressed in.
const std::vector<Operation>& floors();
// The host operations on the sample camera.
const std::vector<Operation>& operations();

// Keeps a result from being optimised away.
void keep(long p_nValue);

}  // namespace bench

#endif
