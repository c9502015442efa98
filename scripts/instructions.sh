#!/usr/bin/env bash
# Instructions per operation, counted by callgrind: installs what is missing,
# builds the benchmarks (Release) in build-bench, runs each operation RUNS
# times under valgrind --tool=callgrind and prints a table of instructions per
# operation; build-bench/instructions.csv holds the same figures.
#   BUILD_DIR  build folder (default build-bench)
#   JOBS       parallel compile jobs (default: the number of cores)
#   RUNS       measured runs of each operation (default 20)
# Arguments: operation names to measure (default: all).
# Counts are deterministic: a busy machine changes the time, not the count.
# Beside the instructions the table counts what each operation must do: its
# existence tests (diagnostic sites), ia_ioctrl_v2 calls and file opens.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-bench}
JOBS=${JOBS:-$(nproc)}
RUNS=${RUNS:-20}
PACKAGES=(cmake g++ make libtinyxml-dev libbenchmark-dev valgrind)

source scripts/lib/packages.sh

install_missing "${PACKAGES[@]}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DSNS_BUILD_BENCH=ON \
    -DSNS_BUILD_TESTS=OFF -DSNS_BUILD_TOOLS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$JOBS" --target sensor_instructions

program="$BUILD_DIR/bench/sensor_instructions"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -gt 0 ]; then
    names=("$@")
else
    mapfile -t names < <("$program" 2>&1 | sed -n 's/^operations: //p' | tr ' ' '\n')
fi

# Sums over one callgrind dump: total instructions, and the calls of the
# existence test, of ia_ioctrl_v2 and of PKFile::open (names are compressed:
# "fn=(N) name" or "cfn=(N) name" the first time, "(N)" afterwards).
count() {
    awk '
        /^summary:/ { total = $2 }
        /^c?fn=/ {
            called = $0 ~ /^cfn=/
            id = $1; sub(/^c?fn=/, "", id)
            name = $0; sub(/^c?fn=\([0-9]+\) ?/, "", name)
            if (name != "") names[id] = name
            target = called ? names[id] : ""
            next
        }
        /^calls=/ {
            n = $1; sub(/^calls=/, "", n)
            if (target ~ /^PKFile::isExist\(/) exist += n
            else if (target ~ /^ia_ioctrl_v2/) ia += n
            else if (target ~ /^PKFile::open\(/) opens += n
            next
        }
        END { printf "%d %d %d %d\n", total, exist, ia, opens }' "$1"
}

# One callgrind run of an operation; prints the sums of its measured runs.
# Instructions are collected only inside measuredRuns, and per thread, so the
# sensor thread's passes stay out. Call counts are not reset by callgrind:
# they include the calls before measuredRuns, which the caller subtracts.
measure() {
    rm -f "$work"/callgrind.out*
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect=measuredRuns \
        --dump-after=measuredRuns --separate-threads=yes \
        --callgrind-out-file="$work/callgrind.out" "$program" "$1" "$2" 2>"$work/valgrind.log" ||
        { cat "$work/valgrind.log" >&2; return 1; }
    # The first dump of the main thread.
    [ -f "$work/callgrind.out.1-01" ] || { echo "instructions: no callgrind dump for $1" >&2; return 1; }
    count "$work/callgrind.out.1-01"
}

csv="$BUILD_DIR/instructions.csv"
echo "operation,runs,instructions_per_run,existence_tests,ia_calls,file_opens" >"$csv"
for name in "${names[@]}"; do
    # RUNS and 2 x RUNS runs: the difference of the call counts is what RUNS
    # runs call.
    read -r total exist ia opens < <(measure "$name" "$RUNS")
    read -r total2 exist2 ia2 opens2 < <(measure "$name" $((2 * RUNS)))
    awk -v n="$name" -v r="$RUNS" -v t="$total" -v e=$((exist2 - exist)) -v i=$((ia2 - ia)) \
        -v o=$((opens2 - opens)) \
        'BEGIN { printf "%s,%d,%.0f,%.2f,%.2f,%.2f\n", n, r, t / r, e / r, i / r, o / r }' >>"$csv"
done

awk -F, '
    NR == 1 { next }
    { order[++count] = $1; instr[$1] = $3; exist[$1] = $4; ia[$1] = $5; opens[$1] = $6 }
    END {
        printf "\nInstructions per run (callgrind, %d runs each)\n\n", runs
        printf "| Operation | Instructions | Existence tests | ia_ioctrl_v2 calls | File opens |\n"
        printf "|---|---:|---:|---:|---:|\n"
        for (k = 1; k <= count; ++k) {
            n = order[k]
            printf "| %s | %s | %g | %g | %g |\n", n, grouped(instr[n]), exist[n], ia[n], opens[n]
        }
    }
    function grouped(p_value,    s) {
        s = sprintf("%d", p_value)
        while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
        return s
    }' runs="$RUNS" "$csv"
echo
echo "Figures: $csv (scripts/bench.sh reads the counts for its floor A column)"
