#!/usr/bin/env bash
# Builds the Qt 6.4.2 that the Windows cross build uses:
# qtbase from Debian 12's qt6-base source package and qtserialport from Qt's v6.4.2 source, both with
# Debian's MinGW-w64 g++ (posix threads). Host tools (moc, rcc, uic) are Debian's qt6-base-dev-tools 6.4.2.
# The windows platform plugin is built without tablet support: Debian's source leaves out the
# third-party tablet header.
# Usage: build-qt-mingw.sh OUT_DIR [--no-archive]   (the result is OUT_DIR/qt6.4.2-mingw-w64, and
# OUT_DIR/qt6.4.2-mingw-w64.tar.xz unless --no-archive)
#
# Our copy of the toolchain script, mended so that CI's one build of Qt fits its time limit beside
# every other stage, and so that a clone needs nothing beside it:
# - Qt SerialPort's source archive is the one in third_party/;
# - everything is built at -O1, Qt Core and Gui included (Qt otherwise forces -O3 on them): the
#   programs only drive a serial port and draw a few windows;
# - the Direct2D platform plugin is not built (nothing loads it); Direct2D itself stays on, because
#   the windows plugin calls the DirectWrite font database that only such a Qt Gui contains;
# - --no-archive leaves the .tar.xz out (CI uses the folder itself).
set -euo pipefail
here=$(cd "$(dirname "$0")/../third_party" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
archive=yes
[ "${2:-}" = --no-archive ] && archive=no
work=$out/work prefix=$out/qt6.4.2-mingw-w64
apt-get install -y -q --no-install-recommends g++-mingw-w64-x86-64-posix ninja-build cmake \
  qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils >/dev/null
mkdir -p "$work" && cd "$work"
[ -d qtserialport-everywhere-src-6.4.2 ] || tar xJf "$here/qtserialport-6.4.2-src.tar.xz"
sp_src=$work/qtserialport-everywhere-src-6.4.2
if [ ! -d qtbase-everywhere-src-6.4.2 ]; then
  # Debian's source packages need deb-src entries: the machine's own entries, as deb-src, for this download.
  { sed -n 's/^Types: deb$/Types: deb-src/p; /^Types:/!p' /etc/apt/sources.list.d/debian.sources 2>/dev/null
  } >/etc/apt/sources.list.d/qt-src.sources || true
  sed -n 's/^deb /deb-src /p' /etc/apt/sources.list 2>/dev/null >/etc/apt/sources.list.d/qt-src.list || true
  apt-get update -q >/dev/null && apt-get source --download-only qt6-base=6.4.2+dfsg-10
  rm -f /etc/apt/sources.list.d/qt-src.sources /etc/apt/sources.list.d/qt-src.list && apt-get update -q >/dev/null
  tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
fi
cat >mingw.cmake <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
TOOLCHAIN
cmake -S qtbase-everywhere-src-6.4.2 -B build-base -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_sql=OFF \
  -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d1_1=OFF \
  -DQT_USE_DEFAULT_CMAKE_OPTIMIZATION_FLAGS=ON -DCMAKE_C_FLAGS_RELEASE="-O1 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG"
cmake --build build-base --parallel 2 && cmake --install build-base
cmake -S "$sp_src" -B build-serialport -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DQT_USE_DEFAULT_CMAKE_OPTIMIZATION_FLAGS=ON -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG"
cmake --build build-serialport --parallel 2 && cmake --install build-serialport
# The MinGW run-time DLLs the programs need at run time travel with Qt's.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/" 2>/dev/null \
    || cp "$(find /usr/lib/gcc/x86_64-w64-mingw32 /usr/x86_64-w64-mingw32 -name $dll | grep -m1 posix || find /usr/lib/gcc/x86_64-w64-mingw32 /usr/x86_64-w64-mingw32 -name $dll | head -1)" "$prefix/bin/"
done
if [ $archive = yes ]; then
  tar -C "$out" -cJf "$out/qt6.4.2-mingw-w64.tar.xz" qt6.4.2-mingw-w64
  echo "$out/qt6.4.2-mingw-w64.tar.xz"
fi
