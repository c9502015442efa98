#!/usr/bin/env bash
# The kit as built for a camera, over the chip's own image-algorithm library
# (-DSNS_IA_LIBRARY) instead of the simulator. The simulator's shared library
# stands in for the chip's: built this way the tools reach it only through
# ia_ioctrl_v2, with no call log. Checks that
#  - sensorctl builds without the simulator's headers and uses none of its controls;
#  - `sensorctl check --live` passes on the sample camera and says, with a
#    WARN, that the library's calls could not be observed.
#   BUILD_DIR    the PC build that provides libia_sim.so (default build)
#   CAMKIT_DIR   build folder of the camera kit (default build-camkit)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
CAMKIT_DIR=${CAMKIT_DIR:-build-camkit}

fail() {
    echo "check-camera-kit: $*" >&2
    exit 1
}

cmake --build "$BUILD_DIR" -j"$(nproc)" --target ia_sim >/dev/null
# In a folder of its own, as a chip's library is: the PC build's folder also
# holds a libsensordll.so.
chip="$PWD/$CAMKIT_DIR/chip"
mkdir -p "$chip"
cp -L "$BUILD_DIR/libia_sim.so.1" "$chip/"
ln -sf libia_sim.so.1 "$chip/libia_sim.so"
cmake -S . -B "$CAMKIT_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSNS_BUILD_BENCH=OFF \
    -DSNS_IA_LIBRARY="$chip/libia_sim.so" >/dev/null
cmake --build "$CAMKIT_DIR" -j"$(nproc)" --target sensorctl
tool="$CAMKIT_DIR/tools/sensorctl"
if nm -DC --undefined-only "$tool" | grep -q 'iasim::'; then
    fail "$tool uses the simulator's controls"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r sample/flash "$work/flash"
status=0
TMPDIR="$work" "$tool" check --flash "$work/flash" --live >"$work/out.txt" || status=$?
cat "$work/out.txt"
[ "$status" -eq 0 ] || fail "check --live failed on the sample camera (exit status $status)"
grep -q '^WARN  live-keys .*cannot be observed' "$work/out.txt" || fail "no WARN about the unobserved calls"
echo "check-camera-kit: sensorctl over a library without call log checks the sample camera"
