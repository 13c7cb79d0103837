#!/usr/bin/env bash
# The setup program in a fresh Wine prefix: a silent install, the installed vfdctl's version and a title
# written on the simulated display, then a silent uninstall that must leave no file and no Uninstall key.
# Usage: test-setup.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
version=$(sed -n 's/^project(TalvexDisplayTools VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
setup=$build/package/talvex-display-tools-$version-setup.exe
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TalvexDisplayTools'
export WINEPREFIX=$build/wine-install WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH QT_PLUGIN_PATH
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
folder=$WINEPREFIX/drive_c/Talvex

fail() { echo "test-setup: $*" >&2; exit 1; }

wine "$setup" /S '/D=C:\Talvex'
wineserver -w
for file in vfdsetup.exe vfdctl.exe vfddemo.exe uninstall.exe Qt6Core.dll platforms/qwindows.dll; do
    [ -f "$folder/$file" ] || fail "$file was not installed"
done
wine reg query "$key" >/dev/null 2>&1 || fail "no Uninstall key"
got=$(wine "$folder/vfdctl.exe" --version | tr -d '\r')
[ "$got" = "vfdctl $version" ] || fail "vfdctl --version said \"$got\""
wine "$folder/vfdctl.exe" --port sim title write "Setup test" "under Wine" || fail "the title write failed"
echo "test-setup: installed $(find "$folder" -type f | wc -l) files, $(du -sk "$folder" | cut -f1) KiB"

wine "$folder/uninstall.exe" /S
wineserver -w
if [ -e "$folder" ]; then
    find "$folder" >&2
    fail "the uninstaller left files behind"
fi
if wine reg query "$key" >/dev/null 2>&1; then
    fail "the uninstaller left the Uninstall key"
fi
echo "test-setup: silent install and uninstall passed"
