#!/usr/bin/env bash
# The Windows stage on a Debian machine: installs what is missing, unpacks (or once builds) Qt for
# Windows, cross-builds the "windows" preset with warnings as errors, runs its tests under Wine, builds
# the setup program and the portable .zip, and installs and uninstalls the setup program silently in a
# fresh Wine prefix. Any failure ends it with a non-zero status. Each stage's time goes to the log.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh --windows

cache=${TALVEX_QT_CACHE:-/var/cache/talvex-qt-mingw}
qt=$cache/qt6.4.2-mingw-w64
build=$root/build/windows

stage_start=$SECONDS
stage() {
    echo "test-windows: $1 took $((SECONDS - stage_start)) s"
    stage_start=$SECONDS
}

# Qt for Windows: the cache, else a ready archive of it (beside the shared toolchains, when this clone
# has them), else built once into the cache by our copy of the toolchain script (half an hour and more).
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    mkdir -p "$cache"
    ready=$root/../shared/toolchains/qt6.4.2-mingw-w64.tar.xz
    if [ -f "$ready" ]; then
        tar -xJf "$ready" -C "$cache"
    else
        bash scripts/build-qt-mingw.sh "$cache" --no-archive
    fi
fi
export TALVEX_QT_WINDOWS=$qt
stage "Qt for Windows"

# One Wine prefix per run, made before anything runs in it.
export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$build"
wineboot -i >/dev/null 2>&1
wineserver -w
stage "Wine prefix"

cmake --preset windows -DTALVEX_QT_WINDOWS="$qt" >"$build/configure.log"
cmake --build --preset windows
stage "build"

ctest --preset windows -j2 | tee "$build/ctest.log"
stage "tests under Wine"


bash packaging/windows/make-setup.sh "$build" "$qt"
stage "setup program and .zip"

bash packaging/windows/test-setup.sh "$build"
stage "silent install and uninstall"
