// Registration of the benchmarks, in the order they run.
#ifndef BENCH_OPS_H
#define BENCH_OPS_H

namespace bench {

// "floor: existence test" and "floor: ia_ioctrl_v2": what each operation is
// expressed in.
void registerFloors();
// The host operations on the sample camera.
void registerOperations();

}  // namespace bench

#endif
