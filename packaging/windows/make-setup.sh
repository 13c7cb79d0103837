#!/usr/bin/env bash
# Gathers the three programs with the Qt and MinGW files they load (what windeployqt would: the DLLs
# they import, the windows platform plugin, the Windows style, and nothing more), then builds the setup
# program with makensis and the portable .zip of the same files.
# Usage: make-setup.sh BUILD_DIR QT_DIR
set -euo pipefail
build=$(realpath "$1")
qt=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
version=$(sed -n 's/^project(TalvexDisplayTools VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
name=talvex-display-tools-$version
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage/platforms" "$stage/styles"
for program in setup/vfdsetup setup/vfdctl demo/vfddemo; do
    cp "$build/$program.exe" "$stage/"
done
# Every DLL the programs import, found among Qt's own, and what those import in turn.
needed() { x86_64-w64-mingw32-objdump -p "$@" | sed -n 's/^\s*DLL Name: //p' | sort -u; }
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for _ in 1 2 3; do
    for dll in $(needed "$stage"/*.exe "$stage"/*/*.dll $(ls "$stage"/*.dll 2>/dev/null)); do
        if [ -f "$qt/bin/$dll" ]; then cp -n "$qt/bin/$dll" "$stage/"; fi
    done
done
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$build/package/$name-setup.exe" \
    "$here/talvex-display-tools.nsi"
(cd "$build/package" && zip -qr "$name-windows-x86_64.zip" "$name")
ls -l "$build/package"
