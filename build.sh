#!/usr/bin/env bash
# Set-up, build and run on a Debian 12 machine.
#   ./build.sh demo   install what is missing, build, run the guided demo
#   ./build.sh test   install what is missing, build, run every test
#   ./build.sh build  install what is missing and build only
#   ./build.sh serve [ARGS]  build, then serve the image settings page on the
#                    sample camera (a working copy in build/serve-flash unless
#                    ARGS name --flash); ARGS go to `sensorctl serve`
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
# The demo needs the library, the simulator and the tool (its checker writes
# JSON, its HTTP server needs cpp-httplib); tests and benchmarks need the rest.
DEMO_PACKAGES=(cmake g++ make pkg-config libtinyxml-dev nlohmann-json3-dev libcpp-httplib-dev)
PACKAGES=("${DEMO_PACKAGES[@]}" googletest libgtest-dev libgmock-dev libbenchmark-dev)

source scripts/lib/packages.sh

build() {
    # The benchmarks are built too, so they keep compiling; scripts/bench.sh runs them.
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSNS_BUILD_TESTS=ON -DSNS_BUILD_BENCH=ON "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

# The tool alone, for the demo and the server.
build_tool() {
    install_missing "${DEMO_PACKAGES[@]}"
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSNS_BUILD_TESTS=OFF -DSNS_BUILD_BENCH=OFF >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)" --target sensorctl
}

case "${1:-}" in
    demo)
        build_tool
        # On a scratch copy of the sample camera, removed afterwards.
        "$BUILD_DIR"/tools/sensorctl demo
        ;;
    test)
        install_missing "${PACKAGES[@]}" "${BROWSER_TEST_PACKAGES[@]}"
        build
        (cd "$BUILD_DIR" && ctest --output-on-failure -j"$(nproc)")
        ;;
    build)
        install_missing "${PACKAGES[@]}"
        build
        ;;
    serve)
        shift
        build_tool
        flash=(--flash "$BUILD_DIR"/serve-flash)
        for arg in "$@"; do
            if [ "$arg" = --flash ]; then flash=(); fi
        done
        exec "$BUILD_DIR"/tools/sensorctl serve "${flash[@]}" "$@"
        ;;
    *)
        echo "usage: $0 demo|test|build|serve [ARGS]" >&2
        exit 2
        ;;
esac
