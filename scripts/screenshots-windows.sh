#!/usr/bin/env bash
# Looks at the Windows programs under Wine on Xvfb, at 100 % and at 150 % scale (the system's 96 and 144
# dots per inch): the screenshot tours of vfdsetup and vfddemo (each window as Qt draws it, with the
# Windows style), and the whole screen with vfdsetup.exe and its simulated display window as Wine shows
# them. Run after scripts/test-windows.sh has built the "windows" preset.
#   scripts/screenshots-windows.sh [OUT_DIR]   (default build/windows/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build/windows
out=$(mkdir -p "${1:-$build/screenshots}" && cd "${1:-$build/screenshots}" && pwd)
qt=${TALVEX_QT_WINDOWS:-/var/cache/talvex-qt-mingw/qt6.4.2-mingw-w64}
export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="Z:$qt/bin" QT_PLUGIN_PATH="Z:$qt/plugins"
unset QT_QPA_PLATFORM
[ -d "$WINEPREFIX/dosdevices" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }

for scale in 100 150; do
    dpi=$((96 * scale / 100))
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k || true
    mkdir -p "$out/$scale"
    xvfb-run -a -s '-screen 0 1600x1000x24' bash -c "
        wine '$build/setup/tools/vfdsetup_screenshots.exe' -platform windows 'Z:$out/$scale/vfdsetup' >/dev/null 2>&1
        wine '$build/demo/tools/vfddemo_screenshots.exe' -platform windows 'Z:$out/$scale/vfddemo' >/dev/null 2>&1
        wine '$build/setup/vfdsetup.exe' -platform windows --port sim >/dev/null 2>&1 &
        sleep 12
        import -window root '$out/$scale/vfdsetup-screen.png'
        wineserver -k
    " || true
    echo "screenshots-windows: $scale %: $(find "$out/$scale" -name '*.png' | wc -l) pictures in $out/$scale"
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
