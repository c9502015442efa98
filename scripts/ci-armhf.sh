#!/usr/bin/env bash
# The camera's CPU (32-bit ARM, hard float): installs what is missing, cross
# builds the library, the platform stand-in, the simulator, the host tool and
# the tests in build-armhf, runs the whole suite under qemu-arm through
# CTest's emulator and prints the size of the stripped libsensordll.so.
#   BUILD_DIR  build folder (default build-armhf)
#   JOBS       parallel compile and test jobs (default: the number of cores)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build-armhf}
JOBS=${JOBS:-$(nproc)}
TRIPLET=arm-linux-gnueabihf
PACKAGES=(cmake make pkg-config crossbuild-essential-armhf qemu-user googletest
          libtinyxml-dev:armhf libgtest-dev:armhf libgmock-dev:armhf)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

install_missing() {
    local bUpdate=0
    if ! dpkg --print-foreign-architectures | grep -qx armhf; then
        $SUDO dpkg --add-architecture armhf
        bUpdate=1
    fi
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || [ $bUpdate -eq 1 ] || return 0
    # A mirror in the middle of a sync fails one index now and then; what the
    # other indexes give is usually enough, and the install says if it is not.
    $SUDO apt-get update -qq || echo "ci-armhf: some package indexes were not refreshed" >&2
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
    fi
}

install_missing
nStart=$(date +%s)
cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-armhf.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j"$JOBS"
(cd "$BUILD_DIR" && ctest --output-on-failure -j"$JOBS")

strip_out="$BUILD_DIR/libsensordll.stripped.so"
$TRIPLET-strip --strip-unneeded -o "$strip_out" "$BUILD_DIR/libsensordll.so"
echo "libsensordll.so (armhf, stripped): $(stat -c %s "$strip_out") bytes"
echo "ci-armhf: build and tests took $(( $(date +%s) - nStart )) s"
