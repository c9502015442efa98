#!/usr/bin/env bash
# Checks the shipped library and the installed package:
#  - libsensordll.so leaves ia_ioctrl_v2 undefined, as on a camera;
#  - `cmake --install` to a prefix of its own gives a package that names no
#    path of the build machine;
#  - the example host (examples/host) builds against it through the CMake
#    package and through pkg-config, and runs on a copy of the sample camera;
#  - both still work after the installed tree was moved elsewhere;
#  - the image settings page is installed with the tool.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

fail() {
    echo "check-install: $*" >&2
    exit 1
}

lib="$BUILD_DIR/libsensordll.so"
nm -D --undefined-only "$lib" | grep -qw ia_ioctrl_v2 || fail "ia_ioctrl_v2 is not an undefined symbol of $lib"
echo "check-install: $lib imports ia_ioctrl_v2"

work=$(mktemp -d "$PWD/$BUILD_DIR/install-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
cmake --install "$BUILD_DIR" --prefix "$work/opt/sensor" >/dev/null
for page in index.html style.css js/main.js; do
    [ -f "$work/opt/sensor/share/SensorController/web/$page" ] || fail "the page's $page is not installed"
done

# The package must not carry the build machine's paths (TinyXML, the source tree).
if grep -rlE "libtinyxml\.so|$PWD" "$work/opt/sensor/lib" "$work/opt/sensor/include" 2>/dev/null | grep -v '\.so'; then
    fail "the installed package names paths of the build machine (files above)"
fi
[ -f "$work/opt/sensor/include/SensorController/ISensorController.h" ] || fail "no public header"
[ -f "$work/opt/sensor/include/SensorController/sim/PlatformSim.h" ] || fail "no simulation hooks in sim/"
[ ! -e "$work/opt/sensor/include/SensorController/PlatformSim.h" ] || fail "simulation hooks beside the public header"

# check_prefix PREFIX: builds the example both ways against PREFIX and runs both.
check_prefix() {
    local prefix=$1 out=$2 pcdir
    pcdir=$(dirname "$(find "$prefix" -name sensorcontroller-sim.pc | head -1)")
    [ -n "$pcdir" ] || fail "no sensorcontroller-sim.pc below $prefix"
    rm -rf "$out" && mkdir -p "$out/flash"
    cp -r sample/flash/. "$out/flash/"

    cmake -S examples/host -B "$out/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
    cmake --build "$out/cmake" >/dev/null
    "$out/cmake/sensor_host" "$out/flash" 2>/dev/null || fail "the CMake-built host failed ($prefix)"

    # shellcheck disable=SC2046
    c++ -std=c++17 examples/host/host.cpp -o "$out/pc_host" \
        $(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs sensorcontroller-sim) ||
        fail "pkg-config did not give what a host needs ($prefix)"
    "$out/pc_host" "$out/flash" 2>/dev/null || fail "the pkg-config-built host failed ($prefix)"
}

check_prefix "$work/opt/sensor" "$work/host1"
echo "check-install: the example host builds and runs through CMake and pkg-config"
mv "$work/opt/sensor" "$work/moved"
check_prefix "$work/moved" "$work/host2"
echo "check-install: the same after the installed tree was moved"
