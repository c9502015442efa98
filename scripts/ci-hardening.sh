#!/usr/bin/env bash
# Hardening checks: installs what is missing, runs the leak test with 1000
# cycles and the sensor thread's starvation check in the plain build, the
# whole test suite under AddressSanitizer +
# UndefinedBehaviorSanitizer (the leak test again with 1000 cycles,
# LeakSanitizer on) and under ThreadSanitizer (the stress test for 20 s),
# then every libFuzzer target for a bounded time on its committed corpus.
# The first failure, sanitizer report or fuzzing finding fails the run.
#   FUZZ_SECONDS    time per fuzz target (default 30)
#   STRESS_SECONDS  stress test duration under TSan (default 20)
#   SERVE_SECONDS   `sensorctl serve` under 50 event clients and 8 writers,
#                   under TSan (default 30)
#   LEAK_CYCLES     init/uinit cycles of the leak test (default 1000)
#   JOBS            parallel build and test jobs (default: the number of cores)
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
STRESS_SECONDS=${STRESS_SECONDS:-20}
SERVE_SECONDS=${SERVE_SECONDS:-30}
LEAK_CYCLES=${LEAK_CYCLES:-1000}
JOBS=${JOBS:-$(nproc)}
# clang's libFuzzer and sanitizer runtimes come with libclang-rt-14-dev.
PACKAGES=(cmake make g++ pkg-config libtinyxml-dev googletest libgtest-dev libgmock-dev
          clang libclang-rt-14-dev nlohmann-json3-dev libcpp-httplib-dev)

source scripts/lib/packages.sh

# run_suite SANITIZER BUILD_DIR [VAR=value...]: builds and runs every test but the browser's.
run_suite() {
    local sanitizer=$1 dir=$2
    shift 2
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DSNS_SANITIZE="$sanitizer" >/dev/null
    cmake --build "$dir" -j"$JOBS"
    # The browser test drives the same server the serve tests already cover
    # under each sanitizer; a browser on a sanitized server only adds time.
    (cd "$dir" && env "$@" ctest --output-on-failure -j"$JOBS" --timeout 1200 -E '^browser_page$')
}

# Heap growth over the leak cycles is measured in the plain build, whose
# allocator the sanitizers do not replace (build/ is the ordinary build).
run_leak_counts() {
    cmake -S . -B build >/dev/null
    cmake --build build -j"$JOBS" --target test_leaks
    SNS_LEAK_CYCLES="$LEAK_CYCLES" build/tests/test_leaks
}

# The sensor thread is neither starved nor waited for: with four host
# threads hammering getParameter a day/night switch is seen within 3 s, and
# uinit returns at once (plain build, a few rounds).
run_starvation_check() {
    cmake -S . -B build >/dev/null
    cmake --build build -j"$JOBS" --target test_sensor_thread
    build/tests/test_sensor_thread --gtest_filter='LiveSensorThreadTest.*' --gtest_repeat=5
}

# Every target on a working copy of its corpus, so that the committed seeds
# stay as they are; a finding is kept in build-fuzz/artifacts.
run_fuzzers() {
    cmake -S fuzz -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build-fuzz -j"$JOBS"
    mkdir -p build-fuzz/artifacts build-fuzz/logs
    local target log dict
    for target in $(ls fuzz/corpus); do
        log="build-fuzz/logs/$target.txt"
        dict=()
        # A target may bring a dictionary of tokens (fuzz/<target>.dict).
        [ -f "fuzz/$target.dict" ] && dict=(-dict="../fuzz/$target.dict")
        rm -rf "build-fuzz/corpus-$target"
        mkdir -p "build-fuzz/corpus-$target"
        if ! (cd build-fuzz && "./$target" "corpus-$target" "../fuzz/corpus/$target" "${dict[@]}" \
                -max_total_time="$FUZZ_SECONDS" -timeout=25 -artifact_prefix="artifacts/$target-" \
                >"logs/$target.txt" 2>&1); then
            cat "$log"
            echo "ci-hardening: $target failed; the input is in build-fuzz/artifacts" >&2
            return 1
        fi
        echo "$target: $(grep -E '^#[0-9]+.*DONE' "$log" | tail -n 1)"
    done
}

# The server's full load once, in the TSan build the suite just ran in (the
# suite itself runs a small version).
run_serve_load() {
    SNS_SERVE_LOAD_SECONDS="$SERVE_SECONDS" SNS_SERVE_LOAD_CLIENTS=50 SNS_SERVE_LOAD_WRITERS=8 \
        build-tsan/tests/test_serve_events --gtest_filter='*ManyClientsAndWriters*' >build-tsan/serve-load.log 2>&1 ||
        { tail -n 100 build-tsan/serve-load.log; return 1; }
    grep -E '^\[ +(OK|PASSED) ' build-tsan/serve-load.log
}

phase() {
    local name=$1
    shift
    local start
    start=$(date +%s)
    echo "== $name"
    "$@"
    echo "== $name took $(( $(date +%s) - start )) s"
}

install_missing "${PACKAGES[@]}" "${BROWSER_TEST_PACKAGES[@]}"
nStart=$(date +%s)
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# cpp-httplib is a compiled library without TSan: see the suppressions file.
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-suppressions.txt
phase "leak cycles, plain build" run_leak_counts
phase "starvation check, plain build" run_starvation_check
phase "ASan+UBSan suite" run_suite address build-asan SNS_LEAK_CYCLES="$LEAK_CYCLES"
phase "TSan suite" run_suite thread build-tsan SNS_STRESS_SECONDS="$STRESS_SECONDS"
phase "serve under load, TSan" run_serve_load
phase "fuzzing" run_fuzzers
echo "ci-hardening: passed in $(( $(date +%s) - nStart )) s"
