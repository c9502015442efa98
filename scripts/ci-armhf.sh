#!/usr/bin/env bash
# The camera's CPU (32-bit ARM, hard float): installs what is missing, cross
# builds the library, the platform stand-in, the simulator, the host tool and
# the tests in build-armhf (not `sensorctl serve`, a PC front end whose HTTP
# libraries the camera does not carry), runs the whole suite under qemu-arm through
# CTest's emulator and prints the size of the stripped libsensordll.so.
#   BUILD_DIR  build folder (default build-armhf)
#   JOBS       parallel compile and test jobs (default: the number of cores)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-armhf}
JOBS=${JOBS:-$(nproc)}
TRIPLET=arm-linux-gnueabihf
PACKAGES=(cmake make pkg-config crossbuild-essential-armhf qemu-user googletest
          libtinyxml-dev:armhf libgtest-dev:armhf libgmock-dev:armhf nlohmann-json3-dev)

source scripts/lib/packages.sh

add_foreign_architecture armhf
install_missing "${PACKAGES[@]}"
nStart=$(date +%s)
cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-armhf.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSNS_BUILD_SERVE=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$JOBS"
(cd "$BUILD_DIR" && ctest --output-on-failure -j"$JOBS")

strip_out="$BUILD_DIR/libsensordll.stripped.so"
$TRIPLET-strip --strip-unneeded -o "$strip_out" "$BUILD_DIR/libsensordll.so"
echo "libsensordll.so (armhf, stripped): $(stat -c %s "$strip_out") bytes"
echo "ci-armhf: build and tests took $(( $(date +%s) - nStart )) s"
