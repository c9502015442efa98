#!/usr/bin/env bash
# `sensorctl serve` on loopback against the library calls it wraps: builds the
# server's benchmark (Release) in build-bench-serve and prints each request (a
# one-key PATCH, GET .../style) as a multiple of its library call
# (setParameter, getUIStyleFile). Elapsed time, median of the runs.
#   BUILD_DIR    build folder (default build-bench-serve)
#   JOBS         parallel compile jobs (default: the number of cores)
#   REPETITIONS  runs of each benchmark; the median counts (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-bench-serve}
JOBS=${JOBS:-$(nproc)}
REPETITIONS=${REPETITIONS:-5}
PACKAGES=(cmake g++ make pkg-config libtinyxml-dev libbenchmark-dev libcpp-httplib-dev nlohmann-json3-dev)

source scripts/lib/packages.sh

install_missing "${PACKAGES[@]}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DSNS_BUILD_BENCH=ON \
    -DSNS_BUILD_TESTS=OFF -DSNS_BUILD_TOOLS=ON >/dev/null
cmake --build "$BUILD_DIR" -j"$JOBS" --target serve_bench
"$BUILD_DIR/bench/serve/serve_bench" --benchmark_repetitions="$REPETITIONS" \
    --benchmark_report_aggregates_only=true "$@"
