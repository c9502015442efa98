#!/usr/bin/env bash
# Set-up, build and run on a Debian 12 machine.
#   ./build.sh demo   install what is missing, build, run the guided demo
#   ./build.sh test   install what is missing, build, run every test
#   ./build.sh build  install what is missing and build only
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES=(cmake g++ make pkg-config libtinyxml-dev googletest libgtest-dev libgmock-dev libbenchmark-dev)

# Installed for this machine's architecture (a name alone is ambiguous once a
# foreign architecture such as armhf has the same package).
is_installed() {
    dpkg -s "$1" >/dev/null 2>&1 || dpkg -s "$1:$(dpkg --print-architecture)" >/dev/null 2>&1
}

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        is_installed "$p" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        # A mirror in sync can fail one index; the install says whether it matters.
        $sudo apt-get update -qq || echo "warning: apt-get update reported errors" >&2
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

build() {
    # The benchmarks are built too, so they keep compiling; scripts/bench.sh runs them.
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSNS_BUILD_BENCH=ON "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

case "${1:-}" in
    demo)
        install_missing
        build
        "$BUILD_DIR"/tools/sensorctl --flash "$BUILD_DIR"/demo-flash demo
        ;;
    test)
        install_missing
        build
        (cd "$BUILD_DIR" && ctest --output-on-failure -j"$(nproc)")
        ;;
    build)
        install_missing
        build
        ;;
    *)
        echo "usage: $0 demo|test|build" >&2
        exit 2
        ;;
esac
