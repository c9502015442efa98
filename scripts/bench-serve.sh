#!/usr/bin/env bash
# `sensorctl serve` on loopback against the library calls it wraps: builds the
# server's benchmark (Release) in build-bench-serve and prints each request (a
# one-key PATCH, GET .../style) as a multiple of its library call
# (setParameter, getUIStyleFile), with a no-op PATCH on the same connection as
# the transport floor. Elapsed time, median of the runs, in random order.
# The run is kept on one processor: where a thread wakes on another (idle)
# one, a virtual machine adds 50-150 us per round trip depending on where the
# scheduler put the threads, which buries the server's own work.
#   BUILD_DIR    build folder (default build-bench-serve)
#   JOBS         parallel compile jobs (default: the number of cores)
#   REPETITIONS  runs of each benchmark; the median counts (default 5)
#   CPU          the processor to run on; "any" lets the scheduler choose (default 0)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-bench-serve}
JOBS=${JOBS:-$(nproc)}
REPETITIONS=${REPETITIONS:-5}
CPU=${CPU:-0}
PACKAGES=(cmake g++ make pkg-config libtinyxml-dev libbenchmark-dev libcpp-httplib-dev nlohmann-json3-dev)

source scripts/lib/packages.sh

install_missing "${PACKAGES[@]}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DSNS_BUILD_BENCH=ON \
    -DSNS_BUILD_TESTS=OFF -DSNS_BUILD_TOOLS=ON >/dev/null
cmake --build "$BUILD_DIR" -j"$JOBS" --target serve_bench
pin=()
if [ "$CPU" != any ]; then pin=(taskset -c "$CPU"); fi
"${pin[@]}" "$BUILD_DIR/bench/serve/serve_bench" --benchmark_repetitions="$REPETITIONS" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"
