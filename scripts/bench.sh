#!/usr/bin/env bash
# Benchmarks of the library's hot paths: installs what is missing, builds
# them (Release) in build-bench, runs them once and prints every operation as
# a multiple of the floors measured in the same run: one existence test of a
# missing file (what a diagnostic site costs at the default level), one
# direct ia_ioctrl_v2 call on the simulator and one read of a parameter file.
# With the counts of scripts/instructions.sh (build-bench/instructions.csv)
# it also gives floor A: the existence tests, ia_ioctrl_v2 calls and file
# opens the operation makes, at the floors' times.
#   BUILD_DIR    build folder (default build-bench)
#   JOBS         parallel compile jobs (default: the number of cores)
#   REPETITIONS  runs of each benchmark; the median counts (default 5)
# Further arguments go to the benchmark program (e.g. --benchmark_min_time=1).
# The figures are processor time of the calling thread, which a busy machine
# disturbs far less than elapsed time.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-bench}
JOBS=${JOBS:-$(nproc)}
REPETITIONS=${REPETITIONS:-5}
PACKAGES=(cmake g++ make libtinyxml-dev libbenchmark-dev)

source scripts/lib/packages.sh

install_missing "${PACKAGES[@]}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DSNS_BUILD_BENCH=ON \
    -DSNS_BUILD_TESTS=OFF -DSNS_BUILD_TOOLS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$JOBS" --target sensor_bench

results="$BUILD_DIR/bench/results.csv"
# The console table goes to standard error; the figures to the CSV file.
"$BUILD_DIR/bench/sensor_bench" --benchmark_repetitions="$REPETITIONS" \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$results" --benchmark_out_format=csv "$@"

counts="$BUILD_DIR/instructions.csv"
[ -f "$counts" ] || counts=/dev/null
awk -F, -v countsfile="$counts" '
    FILENAME == countsfile {
        if (FNR > 1) { cexist[$1] = $4; cia[$1] = $5; copens[$1] = $6; counted[$1] = 1 }
        next
    }
    function ns(p_value, p_unit) {
        if (p_unit == "us") return p_value * 1e3
        if (p_unit == "ms") return p_value * 1e6
        if (p_unit == "s") return p_value * 1e9
        return p_value
    }
    function shown_time(p_ns) { return p_ns >= 1e5 ? sprintf("%.0f us", p_ns / 1e3) : sprintf("%.0f ns", p_ns) }
    $1 ~ /_median"?$/ {
        name = $1
        gsub(/"/, "", name)
        sub(/_median$/, "", name)
        order[++count] = name
        # Waits (names ending in /real_time) are measured on the wall clock.
        time[name] = ns(name ~ /\/real_time$/ ? $3 : $4, $5)
    }
    END {
        exist = time["floor:existence_test"]
        ia = time["floor:ia_ioctrl_v2"]
        file = time["floor:file_read"]
        if (exist <= 0 || ia <= 0 || file <= 0) { print "bench: the floors are missing from the results" > "/dev/stderr"; exit 1 }
        printf "\nProcessor time (wall time for /real_time), median of the runs; floors: existence test %.0f ns, ia_ioctrl_v2 %.0f ns, file read %.0f ns\n\n", exist, ia, file
        printf "| Operation | Time | Existence tests | ia_ioctrl_v2 calls | Floor A | x Floor A |\n|---|---:|---:|---:|---:|---:|\n"
        for (i = 1; i <= count; ++i) {
            name = order[i]
            if (name ~ /^floor:/) continue
            t = time[name]
            floorA = cexist[name] * exist + cia[name] * ia + copens[name] * file
            shownA = counted[name] && floorA > 0 ? shown_time(floorA) : "-"
            ratioA = counted[name] && floorA > 0 ? sprintf("%.2f", t / floorA) : "-"
            printf "| %s | %s | %.1f | %.1f | %s | %s |\n", name, shown_time(t), t / exist, t / ia, shownA, ratioA
        }
        printf "\n"
        for (i = 1; i <= count; ++i) {
            name = order[i]
            if (name !~ /^floor:/) printf "%s = %.1f existence tests\n", name, time[name] / exist
        }
    }' "$counts" "$results"
