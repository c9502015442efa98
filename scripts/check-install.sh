#!/usr/bin/env bash
# Checks the shipped library and the installed package:
#  - libsensordll.so leaves ia_ioctrl_v2 undefined, as on a camera;
#  - `cmake --install` gives a package an outside project finds with
#    find_package(SensorController), builds against and runs;
#  - the image settings page is installed beside the sample flash tree.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

lib="$BUILD_DIR/libsensordll.so"
if ! nm -D --undefined-only "$lib" | grep -w ia_ioctrl_v2 >/dev/null; then
    echo "check-install: ia_ioctrl_v2 is not an undefined symbol of $lib" >&2
    exit 1
fi
echo "check-install: $lib imports ia_ioctrl_v2"

work=$(mktemp -d "$PWD/$BUILD_DIR/install-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
cmake --install "$BUILD_DIR" --prefix "$work/prefix" >/dev/null
for page in index.html style.css js/main.js; do
    if [ ! -f "$work/prefix/share/SensorController/web/$page" ]; then
        echo "check-install: the page's $page is not installed" >&2
        exit 1
    fi
done
cmake -S tests/install -B "$work/host" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/host" >/dev/null
mkdir -p "$work/flash"
cp -r sample/flash/. "$work/flash/"
LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib/$(gcc -print-multiarch 2>/dev/null || true)" \
    "$work/host/sensor_host" "$work/flash" >/dev/null
PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig:$work/prefix/lib/$(gcc -print-multiarch 2>/dev/null || true)/pkgconfig" \
    pkg-config --exists sensorcontroller
echo "check-install: an outside project builds and runs against the installed package"
